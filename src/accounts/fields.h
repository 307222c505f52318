#pragma once

#include <QString>
#include <array>

namespace mindlark {

// The five files each user has, in the order a registration writes them.
enum class Field { Name, Age, Email, UserName, Password };

// The five fields in the order a registration writes them.
inline constexpr std::array<Field, 5> kFields = {Field::Name, Field::Age, Field::Email,
                                                 Field::UserName, Field::Password};

// What a registration stores for one user; every value is kept as typed.
struct UserFields {
    QString name;
    QString age;
    QString email;
    QString userName;
    QString password;
};

// The value `fields` holds for `field`.
inline const QString& valueOf(const UserFields& fields, Field field) {
    switch (field) {
        case Field::Name:
            return fields.name;
        case Field::Age:
            return fields.age;
        case Field::Email:
            return fields.email;
        case Field::UserName:
            return fields.userName;
        case Field::Password:
            break;
    }
    return fields.password;
}

}  // namespace mindlark
