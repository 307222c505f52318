#include "accounts/registration.h"

namespace mindlark {

bool isRegistrationAccepted(const QString& pass, const QString& vpass, const QString& name,
                            const QString& userName) {
    // QString's operator== compares UTF-16 code units, so case and every space count.
    return pass == vpass && !userName.isEmpty() && !name.isEmpty();
}

}  // namespace mindlark
