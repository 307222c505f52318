#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <optional>

#include "accounts/copyidentity.h"
#include "accounts/lockwait.h"
#include "accounts/outcome.h"
#include "accounts/storefiles.h"

namespace mindlark {

// The exclusive lock every copy of the game takes on a store before changing it.
// Copies on one machine meet at flock() on the store directory, which the system
// releases when a copy dies. Copies on different machines sharing the store
// through a file server or a stick meet at the lock file ".lock.qk" in the store
// directory, created exclusively (O_CREAT|O_EXCL, which every network file system
// and FAT honours) and holding, as an RTF document like every store file, who
// took it. A lock whose holder is gone is broken: at once when the holder ran on
// this machine and has ended, otherwise once it has not changed for
// kStaleAfterMs, which no write comes near, or has not been touched for an hour.
// A holder refreshes its lock while it writes, and checks before every write
// that the lock is still its own, so a copy whose lock was broken writes nothing more.
class StoreLock {
public:
    // A lock unchanged this long belongs to a copy that is no longer writing.
    static constexpr std::int64_t kStaleAfterMs = 10000;
    // How often a holder refreshes its lock while it writes.
    static constexpr std::int64_t kRefreshAfterMs = 2000;

    // Takes the lock of the open store directory `directory` (not owned; it must
    // stay open while the lock is held), waiting as `wait` says. Gives up after
    // wait.giveUpAfterMs with EWOULDBLOCK and the reason that another copy is
    // writing the store; fails at once when the lock file cannot be created (a
    // read-only or full disk).
    static Outcome<StoreLock> take(int directory, const LockWait& wait);
    // Takes the lock over from `other`, which then holds nothing.
    StoreLock(StoreLock&& other) noexcept;
    // Releases the lock: removes the lock file if it is still this copy's.
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    StoreLock& operator=(StoreLock&&) = delete;

    // Fails unless the lock file is still this copy's; refreshes it when due.
    // Called before every write is put in place.
    Outcome<> confirm();

    // The copy whose dead lock was broken on the way in, if any: its temporaries
    // can go.
    const std::optional<storefiles::TemporaryOwner>& brokenOwner() const { return broken_; }

    // The lock file's name in the store directory.
    static QString fileName();

    // Who a lock file names as its holder.
    struct Holder {
        CopyIdentity copy;
        QString token;  // unique to one taking of the lock
        QString since;  // when it was taken, UTC, ISO 8601
    };
    // The holder a lock file's text names; nothing when the text is no lock.
    static std::optional<Holder> holderOf(QStringView text);
    // Whether the holder is known to be gone: a process of this machine that has ended.
    static bool isHolderGone(const Holder& holder);

private:
    StoreLock(int directory, int flockDescriptor, std::function<std::int64_t()> clock);
    // Writes this copy's lock file text into the open file `fd`.
    Outcome<> writeRecord(int fd) const;
    // Removes the lock file when it still reads `judged`, the text of a dead
    // holder's lock; false when it could not, or another copy took it meanwhile.
    bool breakLock(const QString& judged, const std::optional<Holder>& holder);
    QString record() const;

    int directory_ = -1;
    int flockDescriptor_ = -1;  // the store directory opened anew, carrying the flock
    bool ownsFile_ = false;
    QString token_;
    QString since_;
    std::int64_t beat_ = 0;
    std::int64_t refreshedAt_ = 0;
    std::function<std::int64_t()> clock_;
    std::optional<storefiles::TemporaryOwner> broken_;
};

// What the player is told while another copy holds the lock: naming the machine
// it runs on when that is another one.
QString busyNotice(const QString& host = {});

}  // namespace mindlark
