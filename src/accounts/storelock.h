#pragma once

#include <QByteArray>

#include "accounts/lockwait.h"
#include "accounts/outcome.h"

namespace mindlark {

// The exclusive lock every copy of the program takes on a store before changing
// it: flock() on the store directory itself, so no lock file joins the store and a
// copy that dies releases the lock with its descriptors. The open directory is
// the one every change goes through, so a directory swapped in under the same
// name meanwhile is never written.
class StoreLock {
public:
    // Takes the lock of the directory at the encoded path `directory`, refusing a
    // symbolic link, waiting as `wait` says. Gives up after wait.giveUpAfterMs with
    // EWOULDBLOCK and the reason that another copy is writing the store.
    static Outcome<StoreLock> take(const QByteArray& directory, const LockWait& wait);
    // Takes the lock over from `other`, which then holds nothing.
    StoreLock(StoreLock&& other) noexcept;
    // Releases the lock.
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    StoreLock& operator=(StoreLock&&) = delete;

    // The locked directory, open for reading; valid while the lock is held.
    int descriptor() const { return fd_; }

private:
    explicit StoreLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace mindlark
