#pragma once

#include <QString>
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

// One sign-in attempt: reads the counter leniently (a damaged counter counts as 0),
// then the user-name and password files of every user from 0 up, comparing both
// exactly with the typed texts. Every match reads that user's name and age files;
// the last match wins. Throws StoreError when a file of any user below the counter
// is missing, also after an earlier match.
std::optional<SignInMatch> findAccount(const AccountStore& store, const QString& userName,
                                       const QString& password);

}  // namespace mindlark
