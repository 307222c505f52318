#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace mindlark {

class AccountStore;

// The account a sign-in attempt settles on, with the profile it loads.
struct SignInMatch {
    std::int64_t user = -1;
    QString name;
    QString age;
};

// What one sign-in attempt found: the account, if any, and the users it had to
// pass over.
struct SignInResult {
    std::optional<SignInMatch> match;
    // One message per user whose files could not be read, naming the file, e.g.
    // "Cannot read QK/mpp%qk 2dP.qk: larger than any store file".
    QStringList damaged;
};

// One sign-in attempt: reads the counter leniently (a damaged counter counts as 0),
// then the user-name and password files of every user from 0 up, comparing both
// exactly with the typed texts. Every match reads that user's name and age files;
// the last match wins. A user whose files cannot be read is passed over and
// reported, so one damaged file keeps nobody else out. Throws StoreError when the
// counter cannot be read.
SignInResult signIn(const AccountStore& store, const QString& userName, const QString& password);

}  // namespace mindlark
