#include "accounts/accountstore.h"
#include "storetestsupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QSet>

using mindlark::AccountStore;
using mindlark::Field;
using mindlark::testing::ScratchStore;

TEST(ConcurrentRegistration, TwoCopiesNeverShareANumber) {
    constexpr int kEach = 250;
    ScratchStore scratch;
    mindlark::testing::setUpStore(scratch);
    QProcess first;
    QProcess second;
    first.start(REGISTER_HELPER_PATH, {scratch.path(), QString::number(kEach), "a"});
    second.start(REGISTER_HELPER_PATH, {scratch.path(), QString::number(kEach), "b"});
    for (QProcess* copy : {&first, &second}) {
        ASSERT_TRUE(copy->waitForFinished(120000));
        EXPECT_EQ(copy->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(copy->exitCode(), 0) << copy->readAllStandardError().toStdString();
    }

    AccountStore store(scratch.path());
    ASSERT_EQ(store.loadCounterText(), QString::number(2 * kEach));
    QSet<QString> seen;
    QHash<QString, int> lastOfCopy{{"a", -1}, {"b", -1}};
    for (int user = 0; user < 2 * kEach; ++user) {
        const QString id = store.readField(Field::UserName, user);
        EXPECT_FALSE(seen.contains(id)) << id.toStdString();
        seen.insert(id);
        // Every file of the number belongs to the same registration.
        EXPECT_EQ(store.readField(Field::Password, user), "pw " + id);
        EXPECT_EQ(store.readField(Field::Name, user), "Name " + id);
        EXPECT_EQ(store.readField(Field::Email, user), id + "@example.org");
        // Each copy's users appear in the order that copy registered them.
        const QString copy = id.section(u'-', 0, 0);
        const int k = id.section(u'-', 1).toInt();
        EXPECT_EQ(store.readField(Field::Age, user), QString::number(k));
        EXPECT_EQ(k, lastOfCopy[copy] + 1) << id.toStdString();
        lastOfCopy[copy] = k;
    }
    EXPECT_EQ(seen.size(), 2 * kEach);
    // Five files per user and the counter; no temporaries left behind.
    EXPECT_EQ(scratch.entries("QK").size(), 5 * 2 * kEach + 1);
}
