#include "accounts/signin.h"

#include "accounts/accountstore.h"
#include "accounts/storeerror.h"
#include "numbers/numbers.h"

#include <algorithm>

namespace mindlark {

SignInResult signIn(const AccountStore& store, const QString& userName, const QString& password) {
    std::int64_t count = readNumberLeniently(store.loadCounterText());
    SignInResult result;
    bool bounded = false;
    QString beyond;
    // Every user is read even after a match: a later account with the same user
    // name and password wins.
    for (std::int64_t user = 0; user < count; ++user) {
        try {
            const Credentials stored = store.readCredentials(user);
            if (stored.userName != userName || stored.password != password)
                continue;
            SignInMatch found;
            found.user = user;
            found.name = store.readField(Field::Name, user);
            found.age = store.readField(Field::Age, user);
            result.match = std::move(found);
        } catch (const StoreError& error) {
            // A counter far beyond the files would make passing over them endless:
            // the first damaged user bounds the scan by the users that have files.
            const std::int64_t onDisk = bounded ? count : store.usersOnDisk();
            if (!bounded && onDisk < count) {
                const std::int64_t first = std::max(onDisk, user);
                beyond =
                    first + 1 == count
                        ? QStringLiteral("User %1 has no files").arg(first)
                        : QStringLiteral("Users %1 to %2 have no files").arg(first).arg(count - 1);
                count = first;
            }
            bounded = true;
            if (user < count)
                result.damaged += error.message();
        }
    }
    if (!beyond.isEmpty())
        result.damaged += beyond;
    return result;
}

}  // namespace mindlark
