#include "accounts/signin.h"
#include "accounts/accountstore.h"
#include "accounts/storetesthooks.h"
#include "rtf/rtf.h"
#include "storetestsupport.h"

#include <gtest/gtest.h>

#include <cerrno>

using mindlark::AccountStore;
using mindlark::signIn;
using mindlark::UserFields;
using mindlark::testing::ScratchStore;
using mindlark::testing::storeErrorOf;
using mindlark::testing::withUsers;

namespace {

// Every case runs with each file read when asked for, as on a local disk, and
// with reads in flight ahead, as on a file server.
class SignIn : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { mindlark::testhooks::setReadsInFlight(GetParam()); }
    void TearDown() override { mindlark::testhooks::setReadsInFlight(-1); }
};
INSTANTIATE_TEST_SUITE_P(ReadsInFlight, SignIn, ::testing::Values(0, 8));

}  // namespace

TEST_P(SignIn, MatchesExactlyAndTheLaterDuplicateWins) {
    ScratchStore scratch;
    withUsers(scratch, {{"Ann", "30", "a@x", "ann", "pw"},
                        {"Bob", "41", "b@x", "bob", "pw"},
                        {"Ann Two", "52", "", "ann", "pw"},
                        {"Ann Three", "63", "", "ann", "other"}});
    AccountStore store(scratch.path());
    const auto match = signIn(store, "ann", "pw").match;
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->user, 2);
    EXPECT_EQ(match->name, "Ann Two");
    EXPECT_EQ(match->age, "52");
    EXPECT_EQ(signIn(store, "bob", "pw").match->age, "41");

    EXPECT_FALSE(signIn(store, "Ann", "pw").match.has_value());
    EXPECT_FALSE(signIn(store, "ann", "PW").match.has_value());
    EXPECT_FALSE(signIn(store, "ann ", "pw").match.has_value());
    EXPECT_FALSE(signIn(store, "", "").match.has_value());
}

TEST_P(SignIn, ReadsExactlyTheUsersBelowTheCounter) {
    ScratchStore scratch;
    withUsers(scratch, {{"A", "1", "", "a", "1"},
                        {"B", "2", "", "b", "2"},
                        {"C", "3", "", "c", "3"},
                        {"D", "4", "", "d", "4"}});
    scratch.put("QK/num.qk", "3");
    // User 3 lies beyond the counter: never matched, and its damage goes unnoticed.
    scratch.putBytes("QK/mpp%qk 3dp.qk", "not RTF");
    AccountStore store(scratch.path());
    EXPECT_EQ(signIn(store, "c", "3").match->user, 2);
    EXPECT_FALSE(signIn(store, "d", "4").match.has_value());
}

TEST_P(SignIn, ADamagedCounterMeansNobody) {
    ScratchStore scratch;
    withUsers(scratch, {{"A", "1", "", "a", "1"}});
    AccountStore store(scratch.path());
    for (const char* counter : {"abc", "", "-4", "x1"}) {
        scratch.put("QK/num.qk", counter);
        EXPECT_FALSE(signIn(store, "a", "1").match.has_value()) << counter;
    }
    scratch.put("QK/num.qk", " 1x");  // the leading number counts
    EXPECT_TRUE(signIn(store, "a", "1").match.has_value());
}

TEST_P(SignIn, DamagedUsersArePassedOverAndReportedWhileTheOthersSignIn) {
    ScratchStore scratch;
    withUsers(scratch, {{"A", "1", "", "a", "1"},
                        {"B", "2", "", "b", "2"},
                        {"C", "3", "", "c", "3"},
                        {"D", "4", "", "d", "4"}});
    AccountStore store(scratch.path());
    QFile::remove(scratch.at("QK/mpp%qk 1dp.qk"));
    scratch.putBytes("QK/mup%qk 2du.qk", QByteArray(mindlark::rtf::kMaxDocumentSize + 1, 'x'));
    QFile::remove(scratch.at("QK/map%qk 3dA.qk"));  // only a match reads the age
    const QStringList damaged{"Cannot read QK/mpp%qk 1dP.qk: " + qt_error_string(ENOENT),
                              "Cannot read QK/mup%qk 2dU.qk: larger than any store file"};
    const mindlark::SignInResult first = mindlark::signIn(store, "a", "1");
    ASSERT_TRUE(first.match.has_value());
    EXPECT_EQ(first.match->name, "A");
    EXPECT_EQ(first.damaged, damaged);
    const mindlark::SignInResult profile = mindlark::signIn(store, "d", "4");
    EXPECT_FALSE(profile.match.has_value());
    EXPECT_EQ(profile.damaged,
              damaged + QStringList{"Cannot read QK/map%qk 3dA.qk: " + qt_error_string(ENOENT)});

    // A counter far beyond the files ends the scan at the last user with files.
    scratch.put("QK/num.qk", "999999999999");
    EXPECT_EQ(mindlark::signIn(store, "a", "1").damaged,
              damaged + QStringList{"Users 4 to 999999999998 have no files"});
    scratch.put("QK/num.qk", "5");
    EXPECT_EQ(mindlark::signIn(store, "a", "1").damaged,
              damaged + QStringList{"User 4 has no files"});
}
