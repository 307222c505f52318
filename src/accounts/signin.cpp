#include "accounts/signin.h"

#include "accounts/accountstore.h"
#include "accounts/storeerror.h"
#include "numbers/numbers.h"

namespace mindlark {

SignInResult signIn(const AccountStore& store, const QString& userName, const QString& password) {
    const std::int64_t count = readNumberLeniently(store.loadCounterText());
    SignInResult result;
    bool bounded = false;
    QString beyond;
    // Every user is read even after a match: a later account with the same user
    // name and password wins.
    UserScan scan = store.scanUsers({Field::UserName, Field::Password}, count);
    while (!scan.atEnd()) {
        const std::int64_t user = scan.user();
        try {
            const QStringList stored = scan.next();
            if (stored[0] != userName || stored[1] != password)
                continue;
            SignInMatch found;
            found.user = user;
            found.name = store.readField(Field::Name, user);
            found.age = store.readField(Field::Age, user);
            result.match = std::move(found);
        } catch (const StoreError& error) {
            // A counter far beyond the files would make passing over them endless:
            // the first damaged user bounds the scan by the users that have files,
            // found by their exact names as the reads open them.
            if (!bounded) {
                bounded = true;
                const std::int64_t end = store.usersWithFiles(user, count);
                if (end < count) {
                    beyond = usersWithoutFiles(end, count - 1);
                    scan.stopAt(end);
                }
                // A user without any file is named among those beyond the files.
                if (end == user)
                    continue;
            }
            result.damaged += error.message();
        }
    }
    if (!beyond.isEmpty())
        result.damaged += beyond;
    return result;
}

}  // namespace mindlark
