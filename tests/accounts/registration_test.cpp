#include "accounts/registration.h"

#include <gtest/gtest.h>

namespace mindlark {
namespace {

TEST(RegistrationRule, AcceptsEqualPasswordsWithNameAndUserName) {
    EXPECT_TRUE(isRegistrationAccepted("secret", "secret", "Ann", "ann1"));
    // Two empty passwords are equal, so an account without a password is allowed.
    EXPECT_TRUE(isRegistrationAccepted("", "", "Ann", "ann1"));
    // Nothing is trimmed: a name or user name of one space is not empty.
    EXPECT_TRUE(isRegistrationAccepted("", "", " ", " "));
    EXPECT_TRUE(isRegistrationAccepted(QStringLiteral("كلمة"), QStringLiteral("كلمة"),
                                       QStringLiteral("سارة"), QStringLiteral("سارة")));
}

TEST(RegistrationRule, RefusesPasswordsThatDifferInAnyWay) {
    EXPECT_FALSE(isRegistrationAccepted("Secret", "secret", "Ann", "ann1"));
    EXPECT_FALSE(isRegistrationAccepted("secret ", "secret", "Ann", "ann1"));
    EXPECT_FALSE(isRegistrationAccepted("secret", "", "Ann", "ann1"));
    EXPECT_FALSE(isRegistrationAccepted("", "x", "Ann", "ann1"));
    // Composed and decomposed forms look alike but are different texts.
    EXPECT_FALSE(
        isRegistrationAccepted(QStringLiteral("\u00e9"), QStringLiteral("e\u0301"), "Ann", "ann1"));
}

TEST(RegistrationRule, RefusesAnEmptyNameOrUserName) {
    EXPECT_FALSE(isRegistrationAccepted("pw", "pw", "", "ann1"));
    EXPECT_FALSE(isRegistrationAccepted("pw", "pw", "Ann", ""));
    EXPECT_FALSE(isRegistrationAccepted("pw", "pw", "", ""));
    // A null QString counts as empty as well.
    EXPECT_FALSE(isRegistrationAccepted("pw", "pw", QString(), "ann1"));
}

}  // namespace
}  // namespace mindlark
