#include "accounts/signin.h"

#include "accounts/accountstore.h"
#include "numbers/numbers.h"

namespace mindlark {

std::optional<SignInMatch> findAccount(const AccountStore& store, const QString& userName,
                                       const QString& password) {
    const std::int64_t count = readNumberLeniently(store.loadCounterText());
    std::optional<SignInMatch> match;
    // Every user is read even after a match: a later account with the same user
    // name and password wins, and a missing file anywhere below the counter fails.
    for (std::int64_t user = 0; user < count; ++user) {
        const Credentials stored = store.readCredentials(user);
        if (stored.userName != userName || stored.password != password)
            continue;
        SignInMatch found;
        found.user = user;
        found.name = store.readField(Field::Name, user);
        found.age = store.readField(Field::Age, user);
        match = std::move(found);
    }
    return match;
}

}  // namespace mindlark
