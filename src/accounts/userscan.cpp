#include "accounts/userscan.h"

#include <QFile>

#include <algorithm>
#include <optional>

#include "accounts/accountstore.h"
#include "accounts/storeerror.h"
#include "accounts/storefiles.h"
#include "accounts/storenames.h"
#include "inflight/readahead.h"

namespace mindlark {

UserScan::UserScan(const AccountStore& store, QList<Field> fields, std::int64_t end, int directory,
                   int threads)
    : store_(&store), fields_(std::move(fields)), end_(end) {
    if (threads > 0 && directory >= 0 && !fields_.isEmpty()) {
        ahead_ = std::make_unique<ReadAhead>(
            [directory](const QByteArray& name) { return storefiles::readFileAt(directory, name); },
            threads);
        // Two reads waiting per thread keep every thread busy.
        window_ = std::max<std::int64_t>(1, 2 * threads / fields_.size());
    }
}

UserScan::~UserScan() = default;
UserScan::UserScan(UserScan&&) noexcept = default;

void UserScan::askAhead() {
    for (; asked_ < end_ && asked_ < next_ + window_; ++asked_) {
        for (const Field field : fields_) {
            ahead_->request(QFile::encodeName(storenames::writeName(field, asked_)),
                            QFile::encodeName(storenames::readName(field, asked_)));
        }
    }
}

const QStringList& UserScan::next() {
    if (ahead_)
        askAhead();
    // One list for every user: a sign-in reads every user of the store.
    QStringList& values = values_;
    values.clear();
    std::optional<StoreError> error;
    for (const Field field : fields_) {
        if (ahead_) {
            const Outcome<QByteArray> bytes = ahead_->take();
            if (bytes.ok() && !error) {
                Outcome<QString> text = storefiles::documentText(bytes.value());
                if (text.ok()) {
                    values += std::move(text.value());
                    continue;
                }
            }
        }
        if (error)
            continue;
        // Read here when there is no read ahead, and after one that failed: the
        // store's own lookup finds a name in another letter case, and says exactly
        // why a file cannot be read.
        try {
            values += store_->readField(field, next_);
        } catch (const StoreError& failure) {
            error = failure;
        }
    }
    ++next_;
    if (error)
        throw *error;
    return values;
}

void UserScan::stopAt(std::int64_t end) {
    end_ = std::min(end_, end);
}

}  // namespace mindlark
