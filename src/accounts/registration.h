#pragma once

#include <QString>

#include "accounts/fields.h"

namespace mindlark {

// Whether "Add User" accepts the typed account: the password and its confirmation
// are exactly equal (letter case counts, two empty texts are equal) and neither the
// name nor the user name is empty. Nothing is trimmed, so a name of one space
// counts; age and e-mail are not examined, and taken user names are not consulted.
bool isRegistrationAccepted(const QString& password, const QString& confirmation,
                            const QString& name, const QString& userName);

// Whether every value can be stored and read back: each file's document stays
// within the size the RTF reader takes. A registration that fails this is refused.
bool fitsInStore(const UserFields& fields);

}  // namespace mindlark
