#pragma once

#include <QList>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "accounts/fields.h"

namespace mindlark {

class AccountStore;
class ReadAhead;

// Reads some fields of every user in turn, from user 0 up, each value as
// AccountStore::readField() gives it and each failure as it throws it. Where the
// store lies on a file server, many reads are in flight ahead of the user being
// looked at; on a local disk each is read when it is asked for.
class UserScan {
public:
    // A scan of `fields` of users 0 to `end` - 1 in `store`, reading ahead with
    // `threads` threads relative to the open store directory `directory`; none
    // reads every file when it is asked for.
    UserScan(const AccountStore& store, QList<Field> fields, std::int64_t end, int directory,
             int threads);
    ~UserScan();
    UserScan(UserScan&&) noexcept;
    UserScan(const UserScan&) = delete;
    UserScan& operator=(const UserScan&) = delete;
    UserScan& operator=(UserScan&&) = delete;

    // The user next() reads next.
    std::int64_t user() const { return next_; }
    // Whether every user has been read.
    bool atEnd() const { return next_ >= end_; }
    // The next user's values in the order of the fields, valid until the next
    // call. Throws the StoreError of the first of them that cannot be read.
    const QStringList& next();
    // Ends the scan before user `end` when it would go further.
    void stopAt(std::int64_t end);

private:
    // Asks for the files of the users up to the read-ahead window.
    void askAhead();

    const AccountStore* store_;
    QList<Field> fields_;
    std::int64_t end_;
    std::int64_t next_ = 0;
    std::int64_t asked_ = 0;  // users whose files have been asked for
    std::int64_t window_ = 0;
    std::unique_ptr<ReadAhead> ahead_;
    QStringList values_;
};

}  // namespace mindlark
