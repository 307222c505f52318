#include "accounts/registration.h"

#include "rtf/rtf.h"

namespace mindlark {

bool isRegistrationAccepted(const QString& password, const QString& confirmation,
                            const QString& name, const QString& userName) {
    // QString's operator== compares UTF-16 code units, so case and every space count.
    return password == confirmation && !userName.isEmpty() && !name.isEmpty();
}

std::optional<qsizetype> valueTooLong(const UserFields& fields) {
    for (const Field field : kFields) {
        if (!rtf::fitsInDocument(valueOf(fields, field)))
            return valueOf(fields, field).size();
    }
    return std::nullopt;
}

}  // namespace mindlark
