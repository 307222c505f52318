// One store shared by copies of the game on several machines: the lock they meet
// at, the temporaries they leave, a counter caught mid-replace, one directory.
#include "accounts/accountstore.h"
#include "accounts/copyidentity.h"
#include "accounts/storelock.h"
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

using testing::ScratchStore;
using testing::storeErrorOf;

// A process id no process has.
constexpr std::int64_t kNoProcess = std::int64_t(1) << 30;

UserFields someone(const QString& tag) {
    return UserFields{"Name " + tag, "3" + tag, tag + "@example.org", "user" + tag, "pw" + tag};
}

// The lock file a copy of the game on `host` leaves while it writes.
QString lockOf(const QString& host, const QString& boot, std::int64_t pid, int beat = 0) {
    return QStringLiteral(
               "mindlark store lock; host=%1; boot=%2; pid=%3; started=; token=t%3; "
               "since=2026-01-01T00:00:00Z; beat=%4")
        .arg(host, boot)
        .arg(pid)
        .arg(beat);
}

// A store with `users` registered and a fake clock that each pause moves on.
struct SharedStore {
    ScratchStore scratch;
    std::int64_t now = 0;
    QStringList notices;
    std::function<void()> atEachPause = [] {};

    explicit SharedStore(int users) {
        scratch.put("num.qk", "1");
        scratch.put("QK/num.qk", "0");
        AccountStore store(scratch.path());
        for (int i = 0; i < users; ++i)
            store.registerUser(someone(QString::number(i)));
    }
    void configure(AccountStore& store) {
        store.setLockWait({[this] { return now; },
                           [this](int ms) {
                               now += ms;
                               atEachPause();
                           },
                           2000, 30000, [this](const QString& notice) { notices += notice; }});
    }
};

TEST(SharedStoreLock, AnotherMachinesLockIsWaitedForAndBrokenOnlyOnceItStaysUnchanged) {
    struct Case {
        bool holderAlive;  // it refreshes its lock at every look
        QString outcome;
        std::int64_t endsAt;  // when, on the waiting copy's clock
    };
    const std::int64_t bound = 30000;
    for (const Case& c :
         {Case{false, "<no error>", StoreLock::kStaleAfterMs},
          Case{true,
               "Cannot lock QK: another copy of the game, on machine-b, is writing the "
               "store; nothing was written",
               bound}}) {
        SharedStore shared(1);
        int beat = 0;
        shared.scratch.put("QK/.lock.qk", lockOf("machine-b", "b007", 77));
        if (c.holderAlive) {
            shared.atEachPause = [&] {
                shared.scratch.put("QK/.lock.qk", lockOf("machine-b", "b007", 77, ++beat));
            };
        }
        AccountStore store(shared.scratch.path());
        shared.configure(store);
        EXPECT_EQ(storeErrorOf([&] { store.registerUser(someone("x")); }), c.outcome);
        // Broken or given up right at its bound: a retry apart, never later.
        EXPECT_GE(shared.now, c.endsAt);
        EXPECT_LT(shared.now, c.endsAt + 100);
        EXPECT_EQ(shared.notices, QStringList{busyNotice("machine-b")});
        EXPECT_EQ(store.loadCounterText(), c.holderAlive ? "1" : "2");
        EXPECT_EQ(shared.scratch.entries("QK").contains(".lock.qk"), c.holderAlive);
    }
}

TEST(SharedStoreLock, ADeadCopyOfThisMachineLosesItsLockAtOnceAndItsTemporariesGo) {
    SharedStore shared(1);
    const CopyIdentity& me = CopyIdentity::self();
    const QString host = CopyIdentity::fileNameHost(me.host);
    const QString boot = me.boot.left(8);
    shared.scratch.put("QK/.lock.qk", lockOf(me.host, me.boot, kNoProcess));
    const QString dead = QStringLiteral(".num.qk.tmp-%1.%2.%3.1").arg(host, boot).arg(kNoProcess);
    const QString elsewhere = QStringLiteral(".mnp%qk 1dN.qk.tmp-machine-b.b007.77.1");
    shared.scratch.put("QK/" + dead, "9");
    shared.scratch.put("QK/" + elsewhere, "Bea");
    AccountStore store(shared.scratch.path());
    shared.configure(store);
    EXPECT_EQ(store.registerUser(someone("x")), "2");
    EXPECT_EQ(shared.now, 0) << "no wait for a copy that has ended";
    const QStringList left = shared.scratch.entries("QK");
    EXPECT_FALSE(left.contains(dead));
    EXPECT_TRUE(left.contains(elsewhere)) << "a live copy elsewhere may still finish it";
    EXPECT_FALSE(left.contains(".lock.qk"));
}

// Another copy takes the lock over just before this one's first rename.
void takeOver(const QByteArray&, const QByteArray&) {
    QFile lock(QStringLiteral("QK/.lock.qk"));
    if (lock.open(QIODevice::WriteOnly | QIODevice::Truncate))
        lock.write(rtf::write(lockOf("machine-c", "c007", 88)));
}

TEST(SharedStoreLock, ACopyWhoseLockWasTakenOverPutsNothingMoreInPlace) {
    SharedStore shared(1);
    AccountStore store(shared.scratch.path());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(shared.scratch.path());
    testhooks::setBeforeRename(&takeOver);
    const QString error = storeErrorOf([&] { store.registerUser(someone("x")); });
    testhooks::setBeforeRename(nullptr);
    QDir::setCurrent(previous);
    EXPECT_TRUE(error.startsWith("Cannot write QK/mnp%qk 1dN.qk: another copy of the game took"))
        << error.toStdString();
    // Nothing of the new user, no temporary; the other copy's lock stays.
    EXPECT_EQ(shared.scratch.entries("QK").size(), 1 + 5 + 1);
    EXPECT_EQ(shared.scratch.bytes("QK/.lock.qk"), rtf::write(lockOf("machine-c", "c007", 88)));
    EXPECT_EQ(AccountStore(shared.scratch.path()).loadCounterText(), "1");
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
