#include "accounts/registration.h"

#include "rtf/rtf.h"

namespace mindlark {

bool isRegistrationAccepted(const QString& password, const QString& confirmation, const QString& name,
                            const QString& userName) {
    // QString's operator== compares UTF-16 code units, so case and every space count.
    return password == confirmation && !userName.isEmpty() && !name.isEmpty();
}

bool fitsInStore(const UserFields& fields) {
    for (const QString* value :
         {&fields.name, &fields.age, &fields.email, &fields.userName, &fields.password}) {
        if (!rtf::fitsInDocument(*value))
            return false;
    }
    return true;
}

}  // namespace mindlark
