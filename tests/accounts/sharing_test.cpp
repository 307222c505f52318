// One store shared by copies of the game on several machines: what their
// registrations leave, a counter caught mid-replace or behind, one directory.
#include "accounts/accountstore.h"
#include "accounts/storenames.h"
#include "accounts/storetesthooks.h"
#include "rtf/rtf.h"
#include "storetestsupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>
#include <functional>

namespace mindlark {
namespace {

using testing::holdLock;
using testing::machine;
using testing::ScratchStore;
using testing::someone;
using testing::storeErrorOf;

using SharedStore = testing::ClockedStore;
// What a registration's last steps leave on disk decides what the player hears:
// a step reported failed that was done, or a fault before the counter, does not
// make the player register twice, and a fault that left the account unmade
// leaves nothing of it.
std::function<void(const QByteArray&, const QByteArray&)> beforePlacing;
void callBeforePlacing(const QByteArray& temporary, const QByteArray& name) {
    beforePlacing(temporary, name);
}

TEST(SharedStoreRegistration, WhatIsReportedIsWhatIsOnDisk) {
    struct Case {
        QByteArray at;  // the file whose putting in place goes wrong
        enum { DoneButReportedFailed, NotDone, LockTakenMeanwhile, NumberTakenMeanwhile } what;
        QString outcome;
        QString holder;  // whose account user 1 is afterwards; empty: nobody's
    };
    for (const Case& c : {
             Case{"num.qk", Case::DoneButReportedFailed, "2", "x"},
             Case{"num.qk", Case::NotDone, "2", "x"},
             Case{"mep%qk 1dE.qk", Case::NotDone,
                  "Cannot write QK/mep%qk 1dE.qk: " + qt_error_string(EISDIR), ""},
             Case{"mnp%qk 1dN.qk", Case::LockTakenMeanwhile, "2", "x"},
             Case{"mnp%qk 1dN.qk", Case::NumberTakenMeanwhile,
                  "Cannot write QK/mnp%qk 1dN.qk: another copy of the game wrote it meanwhile",
                  "b"},
         }) {
        SharedStore shared(1);
        const QByteArray store = QFile::encodeName(shared.scratch.at("QK")) + '/';
        bool struck = false;
        beforePlacing = [&](const QByteArray& temporary, const QByteArray& name) {
            if (name != c.at || std::exchange(struck, true))
                return;
            const QByteArray from = store + temporary;
            if (c.what == Case::DoneButReportedFailed) {
                ::rename(from.constData(), (store + name).constData());
            } else if (c.what == Case::NotDone) {
                // A temporary gone, or a user file's name taken by what cannot go.
                if (temporary.isEmpty())
                    ::mkdir((store + name).constData(), 0700);
                else
                    ::unlink(from.constData());
            } else if (c.what == Case::LockTakenMeanwhile) {
                testing::releaseLock(shared.scratch);
                holdLock(shared.scratch, machine("machine-c"));
            } else {
                // A copy held up past its lock wakes after another registered its number.
                for (const Field field : kFields)
                    shared.scratch.put("QK/" + storenames::writeName(field, 1),
                                       valueOf(someone("b"), field));
                shared.scratch.put("QK/num.qk", "2");
            }
        };
        AccountStore registering(shared.scratch.path());
        shared.configure(registering);
        testhooks::setBeforePlacing(&callBeforePlacing);
        const QString outcome = storeErrorOf([&] {
            const QString counter = registering.registerUser(someone("x"));
            throw StoreError(counter);
        });
        testhooks::setBeforePlacing(nullptr);
        ::rmdir((store + c.at).constData());
        EXPECT_EQ(outcome, c.outcome) << c.at.constData();
        const bool counted = !c.holder.isEmpty();
        AccountStore after(shared.scratch.path());
        EXPECT_EQ(after.loadCounterText(), counted ? "2" : "1");
        EXPECT_EQ(shared.scratch.entries("QK").size(), 1 + 5 * (counted ? 2 : 1))
            << "no temporary, no lock, nothing of an account not made";
        if (counted) {
            EXPECT_EQ(after.readField(Field::Password, 1), "pw" + c.holder);
        }
    }
}

// Held up for long just before its counter goes in place, while two copies
// elsewhere break in and register, this copy puts back a lower count: it notices,
// raises the counter past their files, and says its account was not added.
TEST(SharedStoreCounter, ACopyHeldUpBeforeItsCounterPutsBackNoLowerCount) {
    SharedStore shared(1);
    beforePlacing = [&](const QByteArray&, const QByteArray& name) {
        if (name != "num.qk" || shared.now > 0)
            return;
        shared.now += 15000;
        testing::releaseLock(shared.scratch);
        holdLock(shared.scratch, machine("machine-c"));
        for (const auto& [user, tag] : {std::pair{1, "b"}, {2, "c"}}) {
            for (const Field field : kFields)
                shared.scratch.put("QK/" + storenames::writeName(field, user),
                                   valueOf(someone(tag), field));
        }
        shared.scratch.put("QK/num.qk", "3");
    };
    AccountStore store(shared.scratch.path());
    shared.configure(store);
    testhooks::setBeforePlacing(&callBeforePlacing);
    const QString outcome = storeErrorOf([&] { store.registerUser(someone("x")); });
    testhooks::setBeforePlacing(nullptr);
    EXPECT_TRUE(outcome.endsWith("the account was not added")) << outcome.toStdString();
    EXPECT_EQ(store.loadCounterText(), "3");
    EXPECT_EQ(store.readField(Field::UserName, 2), "userc");
}

TEST(SharedStoreCounter, ACounterBehindTheFilesIsRaisedPastThemBeforeAnyoneIsOverwritten) {
    SharedStore shared(3);
    shared.scratch.put("QK/num.qk", "1");  // put back by a copy held up past its lock
    AccountStore store(shared.scratch.path());
    EXPECT_EQ(store.registerUser(someone("x")), "4");
    EXPECT_EQ(store.readField(Field::UserName, 1), "user1");
    EXPECT_EQ(store.readField(Field::UserName, 3), "userx");
    EXPECT_EQ(store.takeNotes().size(), 1);
}

TEST(SharedStoreCounter, ACounterMissingForAMomentIsReadAgainAndALostOneWrittenAgain) {
    struct Case {
        QByteArray counter;  // what stands there; null: nothing
        bool comesBack;      // another machine's replace finishes meanwhile
        QString expected;
        bool noted;
    };
    for (const Case& c : {Case{{}, true, "2", false}, Case{{}, false, "5", true},
                          Case{"", false, "5", true}, Case{"{\\rtf1 cut sh", false, "5", true}}) {
        SharedStore shared(2);
        shared.scratch.put("QK/mep%qk 4dE.qk", "stray");  // an interrupted registration's
        if (c.counter.isNull())
            QFile::remove(shared.scratch.at("QK/num.qk"));
        else
            shared.scratch.putBytes("QK/num.qk", c.counter);
        if (c.comesBack)
            shared.atEachPause = [&] { shared.scratch.put("QK/num.qk", "2"); };
        AccountStore store(shared.scratch.path());
        shared.configure(store);
        EXPECT_EQ(store.loadCounterText(), c.expected);
        EXPECT_EQ(shared.scratch.bytes("QK/num.qk"), rtf::write(c.expected));
        const QStringList notes = store.takeNotes();
        EXPECT_EQ(notes.size(), c.noted ? 1 : 0);
        if (c.noted) {
            EXPECT_TRUE(notes[0].startsWith("QK/num.qk could not be read"))
                << notes[0].toStdString();
        }
    }
}

TEST(SharedStoreDirectory, ReadsWritesAndTheLockGoToTheOneDirectoryNamedQK) {
    SharedStore shared(1);
    AccountStore store(shared.scratch.path());
    ASSERT_EQ(store.loadCounterText(), "1");
    // The store is moved aside and another put in its place while the game runs.
    ASSERT_TRUE(QDir(shared.scratch.path()).rename("QK", "QK.old"));
    shared.scratch.put("QK/num.qk", "5");
    EXPECT_EQ(store.registerUser(someone("x")), "6");
    EXPECT_EQ(store.loadCounterText(), "6");
    EXPECT_EQ(store.readField(Field::UserName, 5), "userx");
    EXPECT_EQ(shared.scratch.entries("QK.old").size(), 6) << "the old store is left as it was";
}

TEST(SharedStorePrivacy, AStoreOthersCanReadIsToldOnceAndOnlyThen) {
    // A store on FAT or a share shows every file open to all, and belongs to
    // whoever mounted it: nothing this copy can tighten.
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can give the store to another user";
    for (const bool othersCanRead : {false, true}) {
        SharedStore shared(1);
        const QByteArray directory = QFile::encodeName(shared.scratch.at("QK"));
        ASSERT_EQ(::chmod(directory.constData(), 0777), 0);
        if (othersCanRead) {
            ASSERT_EQ(::chown(directory.constData(), 4242, 4242), 0);
        }
        AccountStore store(shared.scratch.path());
        EXPECT_FALSE(store.isFirstRun());
        EXPECT_FALSE(store.isFirstRun());
        const QStringList notes = store.takeNotes();
        EXPECT_EQ(notes.size(), othersCanRead ? 1 : 0);
        if (othersCanRead) {
            EXPECT_TRUE(notes[0].contains("anyone who can read that disk can read the passwords"));
        }
    }
}

}  // namespace
}  // namespace mindlark
