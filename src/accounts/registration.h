#pragma once

#include <optional>

#include <QString>

#include "accounts/fields.h"

namespace mindlark {

// Whether "Add User" accepts the typed account: the password and its confirmation
// are exactly equal (letter case counts, two empty texts are equal) and neither the
// name nor the user name is empty. Nothing is trimmed, so a name of one space
// counts; age and e-mail are not examined, and taken user names are not consulted.
bool isRegistrationAccepted(const QString& password, const QString& confirmation,
                            const QString& name, const QString& userName);

// The length of the first value, in the order registration writes them, that
// could not be read back once stored: its file's document would outgrow what the
// RTF reader takes; nothing when every value fits. A registration with one is refused.
std::optional<qsizetype> valueTooLong(const UserFields& fields);

// Whether every value can be stored and read back (see valueTooLong()).
inline bool fitsInStore(const UserFields& fields) {
    return !valueTooLong(fields);
}

}  // namespace mindlark
