#include "session/session.h"

#include <gtest/gtest.h>

#include <QDir>

#include <QFile>
#include <optional>

#include "accounts/storeerror.h"
#include "rtf/rtf.h"
#include "storetestsupport.h"

namespace mindlark {
namespace {

using testing::ScratchStore;
using testing::storeErrorOf;

TEST(SessionStart, SetsTheStoreUpOnlyWhenTheMarkerAsksAndOpensRegistrationWhileNobodyIsRegistered) {
    struct Case {
        const char* what;
        const char* marker;
        const char* counter;  // nullptr: no store directory yet
        int setUps;
        bool nobodyRegistered;
    };
    for (const Case& c : {Case{"first run", "0", nullptr, 1, true},
                          Case{"set up, nobody registered", "1", "0", 0, true},
                          Case{"two users", "1", "2", 0, false},
                          Case{"marker shipped again over a store", "0", " 3 ", 1, false}}) {
        ScratchStore scratch;
        scratch.put("num.qk", c.marker);
        if (c.counter)
            scratch.put("QK/num.qk", c.counter);
        Session session(scratch.path());
        int setUps = 0;
        EXPECT_EQ(session.start([&] { ++setUps; }), c.nobodyRegistered) << c.what;
        EXPECT_EQ(setUps, c.setUps) << c.what;
        EXPECT_EQ(scratch.text("num.qk"), "1") << c.what;
        EXPECT_FALSE(session.isSignedIn());
    }
}

TEST(SessionStart, ACounterThatIsNoUserCountStopsTheStart) {
    for (const char* damaged : {"two", "", "1 2", "-1"}) {
        ScratchStore scratch;
        mindlark::testing::setUpStore(scratch, damaged);
        Session session(scratch.path());
        EXPECT_EQ(storeErrorOf([&] { session.start({}); }), AccountStore::notAUserCount(damaged));
    }
}

// A store with Ann (user 0), "ann" who differs in case (user 1), and Bo (user 2)
// who has no password.
class SessionAccounts : public ::testing::Test {
protected:
    void SetUp() override {
        mindlark::testing::setUpStore(scratch, "0");
        AccountStore store(scratch.path());
        store.registerUser({"Ann", "30", "a@b", "Ann", "Secret"});
        store.registerUser({"Lower", "31", "", "ann", "Secret"});
        store.registerUser({QStringLiteral("بو"), "", "", "bo", ""});
    }

    ScratchStore scratch;
    Session session{scratch.path()};
};

// Which accounts match is signIn()'s rule, tested with it; the session
// signs in who matched and hands over the stored name and age.
TEST_F(SessionAccounts, ASignInLetsInTheStoredNameAndAgeAFailedOneNobody) {
    struct Attempt {
        const char* userName;
        const char* password;
        std::optional<QString> name;  // nothing: nobody matches
        QString age;
    };
    const Attempt attempts[] = {
        {"Ann", "secret", std::nullopt, {}},
        {"ann", "Secret", "Lower", "31"},
        {"bo", "", QStringLiteral("بو"), ""},
    };
    for (const Attempt& a : attempts) {
        Session fresh(scratch.path());
        const std::optional<Player> player = fresh.signIn(a.userName, a.password);
        EXPECT_EQ(player.has_value(), a.name.has_value()) << a.userName;
        EXPECT_EQ(fresh.isSignedIn(), a.name.has_value()) << a.userName;
        if (player && a.name) {
            EXPECT_EQ(player->name, *a.name);
            EXPECT_EQ(player->age, a.age);
        }
    }
}

TEST_F(SessionAccounts, ARefusedRegistrationWritesNothingAndSignsNobodyIn) {
    EXPECT_FALSE(session.registerUser({"Cy", "", "", "cy", "Secret"}, "secret"));
    EXPECT_FALSE(session.isSignedIn());
    EXPECT_EQ(AccountStore(scratch.path()).loadCounterText(), "3");
}

TEST_F(SessionAccounts, AnAcceptedRegistrationIsStoredAsTypedAndLetsInTheNameWithNoAge) {
    // A one-space name, an age of letters, no e-mail, a taken user name, no password.
    const std::optional<Player> player = session.registerUser({" ", "forty", "", "Ann", ""}, "");
    ASSERT_TRUE(player);
    EXPECT_EQ(player->name, " ");
    EXPECT_EQ(player->age, "");
    EXPECT_TRUE(session.isSignedIn());
    AccountStore store(scratch.path());
    EXPECT_EQ(store.loadCounterText(), "4");
    EXPECT_EQ(store.readField(Field::Name, 3), " ");
    EXPECT_EQ(store.readField(Field::Age, 3), "forty");
    EXPECT_EQ(store.readField(Field::Email, 3), "");
    EXPECT_EQ(store.readField(Field::UserName, 3), "Ann");
}

TEST_F(SessionAccounts, OpeningTheRegistrationReadsTheCounterAgain) {
    EXPECT_EQ(storeErrorOf([&] { session.openRegistration(); }), "<no error>");
    ASSERT_TRUE(QFile::remove(scratch.at("QK/num.qk")));
    ASSERT_TRUE(QDir().mkpath(scratch.at("QK/num.qk")));
    EXPECT_EQ(storeErrorOf([&] { session.openRegistration(); }),
              "Cannot read QK/num.qk: " + qt_error_string(EISDIR));
}

TEST_F(SessionAccounts, AValueTooLongToBeReadBackIsRefusedLikeAnyBadInput) {
    const QString tooLong(rtf::kMaxDocumentSize, u'x');
    EXPECT_FALSE(session.registerUser({"Cy", "", "", "cy", tooLong}, tooLong));
    EXPECT_FALSE(session.isSignedIn());
    EXPECT_EQ(AccountStore(scratch.path()).loadCounterText(), "3");
}

TEST_F(SessionAccounts, DamagedAccountsAreSkippedAndNamedOncePerRun) {
    ASSERT_TRUE(QFile::remove(scratch.at("QK/mpp%qk 0dp.qk")));
    EXPECT_FALSE(session.signIn("Ann", "Secret"));
    const QString notice = session.takeDamageNotice();
    EXPECT_TRUE(notice.endsWith("\n\nCannot read QK/mpp%qk 0dP.qk: " + qt_error_string(ENOENT)))
        << notice.toStdString();
    EXPECT_EQ(session.takeDamageNotice(), "");
    EXPECT_TRUE(session.signIn("ann", "Secret"));
    EXPECT_EQ(session.takeDamageNotice(), "");
}

}  // namespace
}  // namespace mindlark
