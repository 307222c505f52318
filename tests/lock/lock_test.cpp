// The store's lock as copies of the game on several machines meet it: stale
// locks and waiters, the lock of an earlier version, copies held up at each step,
// and many copies at once. Machines are told apart by the identity each copy
// puts in the lock; time is a fake clock that waits move on.
#include "accounts/accountstore.h"
#include "accounts/storenames.h"
#include "lock/storelock.h"
#include "storetestsupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace mindlark {
namespace {

using testing::holdLock;
using testing::machine;
using testing::ScratchStore;
using testing::someone;
using testing::storeErrorOf;

// A store with one user, and a registering copy whose waits move a fake clock on.
struct Waiting : testing::ClockedStore {
    AccountStore store{scratch.path()};

    Waiting() : ClockedStore(1) { configure(store); }
    // Registers one more user; the error, or "<no error>".
    QString registerOne() {
        return storeErrorOf([this] { store.registerUser(someone("x")); });
    }
};

const QString kGaveUp = QStringLiteral(
    "Cannot lock QK: another copy of the game, on machine-b, is writing the store; nothing "
    "was written");

TEST(StoreLock, AnotherMachinesLockIsBrokenOnlyOnceItHasNotChangedForTheStaleTime) {
    struct Case {
        std::int64_t beatsUntil;  // when its holder stops refreshing it
        QString outcome;
        std::int64_t endsAt;  // when, on the waiting copy's clock
    };
    const std::int64_t stale = StoreLock::kStaleAfterMs;
    // The silence counts from the lock's last change, not from the start of the wait.
    for (const Case& c : {Case{0, "<no error>", stale}, Case{8000, "<no error>", 8000 + stale},
                          Case{1 << 30, kGaveUp, 30000}}) {
        Waiting waiting;
        int beat = 0;
        holdLock(waiting.scratch, machine("machine-b"));
        waiting.atEachPause = [&] {
            if (waiting.now <= c.beatsUntil)
                holdLock(waiting.scratch, machine("machine-b"), ++beat);
        };
        EXPECT_EQ(waiting.registerOne(), c.outcome) << c.beatsUntil;
        EXPECT_GE(waiting.now, c.endsAt);
        EXPECT_LT(waiting.now, c.endsAt + 100) << "a retry apart, never later";
        EXPECT_EQ(waiting.notices, QStringList{busyNotice("machine-b")});
        EXPECT_EQ(waiting.store.loadCounterText(), c.outcome == kGaveUp ? "1" : "2");
    }
}

TEST(StoreLock, ACopyOfThisMachineIsJudgedByItsProcessAndAnEarlierVersionsLockIsHonoured) {
    const CopyIdentity& me = CopyIdentity::self();
    const CopyIdentity dead{me.host, me.boot, std::int64_t(1) << 30, {}};
    struct Case {
        std::function<void(Waiting&)> lay;
        bool taken;
        std::int64_t endsAt;
    };
    const auto legacy = [](const CopyIdentity& copy) {
        return [copy](Waiting& w) { w.scratch.put("QK/.lock.qk", testing::lockRecord(copy)); };
    };
    for (const Case& c : {
             // ended: broken at once, with what it left half written
             Case{[&](Waiting& w) {
                      holdLock(w.scratch, dead);
                      w.scratch.put("QK/.num.qk.tmp-" + testing::tokenName(dead), "9");
                  },
                  true, 0},
             // held up but alive: waited for, never broken
             Case{[&](Waiting& w) { holdLock(w.scratch, me); }, false, 30000},
             Case{legacy(dead), true, 0},
             Case{legacy(machine("machine-b")), true, StoreLock::kStaleAfterMs},
         }) {
        Waiting waiting;
        c.lay(waiting);
        EXPECT_EQ(waiting.registerOne() == "<no error>", c.taken);
        EXPECT_GE(waiting.now, c.endsAt);
        EXPECT_LT(waiting.now, c.endsAt + 100);
        if (c.taken) {
            EXPECT_EQ(waiting.scratch.entries("QK").size(), 1 + 2 * 5)
                << "nothing left of the broken lock: "
                << waiting.scratch.entries("QK").join(", ").toStdString();
        }
    }
}

TEST(StoreLock, ACopyComingLaterLetsAWaiterGoFirstUntilThatWaiterFallsSilent) {
    Waiting waiting;
    int beat = 0;
    testing::queueFor(waiting.scratch, machine("machine-c"));
    waiting.atEachPause = [&] {
        if (waiting.now <= 5000)
            testing::queueFor(waiting.scratch, machine("machine-c"), ++beat);
    };
    EXPECT_EQ(waiting.registerOne(), "<no error>");
    EXPECT_GE(waiting.now, 5000 + StoreLock::kStaleAfterMs);
    EXPECT_EQ(waiting.scratch.entries("QK").size(), 1 + 2 * 5) << "the silent waiter's entry goes";
}

// Copy A, on machine-a, is held up at one step of the lock for longer than a
// lock stays valid, while copy B, on machine-b, breaks in and registers; A goes
// on while B holds the lock. Whatever A was doing, no account is lost, no number
// is given twice, the counter counts the accounts confirmed, and nothing is left.
TEST(StoreLock, ACopyHeldUpAtAnyStepNeitherHoldsTheLockTwiceNorLosesAnAccount) {
    for (const LockStep at : {LockStep::Made, LockStep::Taken, LockStep::Refreshed,
                              LockStep::Confirmed, LockStep::Releasing, LockStep::Breaking}) {
        ScratchStore scratch;
        testing::withUsers(scratch, {});
        if (at == LockStep::Breaking)
            holdLock(scratch, machine("machine-c"));  // stale: both copies break it
        std::atomic<std::int64_t> now{0};
        std::mutex mutex;
        std::condition_variable changed;
        bool heldUp = false, resumed = false, aDone = false;
        std::atomic<int> aWaits{0}, doubleHolders{0};
        std::atomic<bool> bHolds{false};
        QString aOutcome, bOutcome;

        AccountStore a(scratch.path());
        LockWait aWait;
        aWait.identity = machine("machine-a");
        aWait.clock = [&] { return now.load(); };
        aWait.pause = [&](int ms) {
            if (!resumed) {
                now += ms;
                return;
            }
            ++aWaits;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        bool bumped = false;
        aWait.atStep = [&](LockStep step) {
            if (step == LockStep::Confirmed && bHolds)
                ++doubleHolders;
            if (at == LockStep::Refreshed && step == LockStep::Taken && !bumped) {
                bumped = true;
                now += StoreLock::kRefreshAfterMs;  // so that the first check refreshes
            }
            if (step != at || heldUp)
                return;
            std::unique_lock lock(mutex);
            heldUp = true;
            changed.notify_all();
            changed.wait(lock, [&] { return resumed; });
        };
        a.setLockWait(aWait);
        std::thread aThread([&] {
            const QString outcome = storeErrorOf([&] { a.registerUser(someone("a")); });
            const std::lock_guard lock(mutex);
            aOutcome = outcome;
            aDone = true;
            changed.notify_all();
        });
        {
            std::unique_lock lock(mutex);
            changed.wait_for(lock, std::chrono::seconds(20), [&] { return heldUp || aDone; });
        }
        if (!heldUp) {
            aThread.join();
            ADD_FAILURE() << int(at) << ": copy a was never held up: " << aOutcome.toStdString();
            continue;
        }

        AccountStore b(scratch.path());
        LockWait bWait;
        bWait.identity = machine("machine-b");
        bWait.clock = [&] { return now.load(); };
        bWait.pause = [&](int ms) { now += ms; };
        bWait.atStep = [&](LockStep step) {
            if (step == LockStep::Confirmed)
                bHolds = true;
            if (step == LockStep::Releasing)
                bHolds = false;
            if (step != LockStep::Confirmed || resumed)
                return;
            // B holds the lock and is about to write: A goes on until it ends or waits.
            std::unique_lock lock(mutex);
            resumed = true;
            changed.notify_all();
            const int waits = aWaits;
            changed.wait_for(lock, std::chrono::seconds(5),
                             [&] { return aDone || aWaits > waits + 5; });
        };
        b.setLockWait(bWait);
        bOutcome = storeErrorOf([&] { b.registerUser(someone("b")); });
        aThread.join();

        EXPECT_EQ(doubleHolders, 0) << int(at);
        AccountStore store(scratch.path());
        int confirmed = 0;
        for (const auto& [outcome, tag] : {std::pair{aOutcome, "a"}, std::pair{bOutcome, "b"}}) {
            if (outcome != "<no error>")
                continue;
            ++confirmed;
            bool found = false;
            for (std::int64_t user = 0; user < 2 && !found; ++user)
                found = store.readField(Field::UserName, user) == someone(tag).userName &&
                        store.readField(Field::Password, user) == someone(tag).password;
            EXPECT_TRUE(found) << "copy " << tag << "'s account, held up at " << int(at);
        }
        EXPECT_GE(confirmed, 1) << int(at);
        EXPECT_EQ(store.loadCounterText(), QString::number(confirmed))
            << int(at) << ": " << aOutcome.toStdString() << " / " << bOutcome.toStdString();
        EXPECT_EQ(scratch.entries("QK").size(), 1 + 5 * confirmed)
            << int(at) << ": " << scratch.entries("QK").join(", ").toStdString();
    }
}

TEST(StoreLock, OfAHundredCopiesTakingTheLockAtOnceOneHoldsItAtATime) {
    ScratchStore scratch;
    testing::withUsers(scratch, {});
    const int directory =
        ::open(QFile::encodeName(scratch.at("QK")).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(directory, 0);
    std::atomic<int> holders{0}, most{0}, took{0};
    std::vector<std::thread> copies;
    for (int i = 0; i < 100; ++i) {
        copies.emplace_back([&, i] {
            LockWait wait;
            wait.identity = machine(QStringLiteral("machine-%1").arg(i));
            wait.pause = [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(2)); };
            wait.giveUpAfterMs = 120000;
            Outcome<StoreLock> lock = StoreLock::take(directory, wait);
            if (!lock.ok())
                return;
            ++took;
            most = std::max(most.load(), ++holders);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            --holders;
        });
    }
    for (std::thread& copy : copies)
        copy.join();
    ::close(directory);
    EXPECT_EQ(took, 100);
    EXPECT_EQ(most, 1);
    EXPECT_EQ(scratch.entries("QK"), QStringList{"num.qk"});
}

}  // namespace
}  // namespace mindlark
