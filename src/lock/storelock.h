#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "lock/copyidentity.h"
#include "lock/lockwait.h"
#include "lock/temporaries.h"
#include "outcome/outcome.h"

namespace mindlark {

// How the lock's directories and files are made: the store's own modes.
struct LockModes {
    mode_t file = 0600;
    mode_t directory = 0700;
    gid_t group = gid_t(-1);  // the group to give them, where the folder does not
};

// The exclusive lock every copy of the game takes on a store before changing it,
// whether the copies share the store on one machine, through a file server or on
// a stick.
//
// The lock is the directory ".lockdir.qk" in the store directory, made with
// mkdir(), which every file server decides for exactly one client, and holding
// one file whose name is its holder's token, unique to one taking of the lock.
// No step acts on a lock it has not proven its own in the same call: a holder
// refreshes, confirms and releases only the token file of its own name, a release
// removes the directory only once its own token is gone from it (a directory
// holding another's token is not removed), and a copy breaking a stale lock
// removes that stale token by its exact name and puts its own in its place, so of
// several breakers one succeeds. A token of this machine and boot whose process
// has ended is broken at once, and never while it runs; one from another machine
// once it has not changed for kStaleAfterMs, on the waiting copy's clock, counted
// from when it last changed. Copies that must wait queue in ".queue.qk", and a copy coming later
// lets them go first. A copy that was itself held up for long (its clock counts
// a machine's sleep) looks again before it trusts what it did.
//
// The lock file ".lock.qk" of earlier versions is still honoured.
class StoreLock {
public:
    // A lock unchanged this long belongs to a copy that is no longer writing.
    static constexpr std::int64_t kStaleAfterMs = 10000;
    // How often a holder or a waiter refreshes its token while it holds or waits.
    static constexpr std::int64_t kRefreshAfterMs = 2000;
    // A copy that finds this long gone by since it last proved the lock its own
    // may have been held up long enough to lose it, and looks again.
    static constexpr std::int64_t kSuspectAfterMs = 3000;

    using Modes = LockModes;

    // Work that runs in flight with putting this copy's token into a lock it is
    // taking: a change's first reads and its temporaries, whose waits then overlap
    // the token's on a file server. What it finds counts only once take() returns
    // the lock; it runs again, from the start, each time a taking is tried anew.
    // It must not throw.
    using Alongside = std::function<void()>;

    // Takes the lock of the open store directory `directory` (not owned; it must
    // stay open while the lock is held), waiting as `wait` says. Gives up with
    // EWOULDBLOCK and the reason that another copy is writing the store when the
    // wait sees no progress for wait.giveUpAfterMs; fails at once when the lock
    // cannot be made (a read-only or full disk).
    static Outcome<StoreLock> take(int directory, const LockWait& wait, Modes modes = {},
                                   const Alongside& alongside = {});
    // Takes the lock over from `other`, which then holds nothing.
    StoreLock(StoreLock&& other) noexcept;
    // Releases the lock: removes this copy's token, then the directory if empty.
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    StoreLock& operator=(StoreLock&&) = delete;

    // Fails unless this copy's token is still in the lock; refreshes it when due.
    // Called just before every file is put in place.
    Outcome<> confirm();
    // Whether so long has gone by since the lock was last proven this copy's
    // that it may have been broken meanwhile (see kSuspectAfterMs).
    bool mayHaveLapsed() const;

    // The copy whose dead lock was broken on the way in, if any: its temporaries
    // can go.
    const std::optional<temporaries::Owner>& brokenOwner() const { return broken_; }

    // The names the lock uses in the store directory.
    static QString directoryName();
    static QString queueName();
    static QString legacyFileName();

    // Who a token or a lock file names as its holder.
    struct Holder {
        CopyIdentity copy;
        QString token;  // unique to one taking of the lock
        QString since;  // when it was taken, UTC, ISO 8601
    };
    // The holder a token's text names; nothing when the text is no lock.
    static std::optional<Holder> holderOf(QStringView text);
    // Whether the holder is known to be gone: a process of this machine that has ended.
    static bool isHolderGone(const Holder& holder);

    // What the lock entries of the open store directory `directory` say, for a
    // report naming that directory `shownAs`: one line for each token, waiter and
    // old lock file found, read by exact name. Empty when no copy holds or waits.
    static QStringList describe(int directory, const QString& shownAs);

private:
    StoreLock(int directory, const LockWait& wait, Modes modes);
    class Waiting;
    friend class Waiting;

    // Removes this copy's token, then the lock directory when that token was still there.
    void release();
    // Removes this copy's token and nothing else.
    void dropToken();
    // Opens the lock directory, in which this copy's token is then reached
    // without looking the directory up again: a round trip less on a file server.
    Outcome<> openLockDirectory();
    void closeLockDirectory();
    QString record() const;
    // Writes the record into the token file `path` below `at`, which must exist
    // unless `create`.
    Outcome<> writeToken(int at, const QByteArray& path, bool create) const;
    void step(LockStep at) const;
    std::int64_t now() const;

    int directory_ = -1;
    int lockDirectory_ = -1;  // while this copy's token is in it, or on its way in
    bool holds_ = false;
    CopyIdentity identity_;
    QByteArray token_;
    QString since_;
    std::int64_t beat_ = 0;
    std::int64_t confirmedAt_ = 0;
    std::function<std::int64_t()> clock_;
    std::function<void(LockStep)> atStep_;
    Modes modes_;
    std::optional<temporaries::Owner> broken_;
};

// What the player is told while another copy holds the lock: naming the machine
// it runs on when that is another one.
QString busyNotice(const QString& host = {});

}  // namespace mindlark
