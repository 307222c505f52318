#pragma once

#include <QByteArray>

#include "accounts/outcome.h"

namespace mindlark {

// The exclusive lock every copy of the program takes on a store before changing
// it: flock() on the store directory itself, so no lock file joins the store and a
// copy that dies releases the lock with its descriptors.
class StoreLock {
public:
    // Waits until the lock of the directory at the encoded path `directory` is held.
    static Outcome<StoreLock> take(const QByteArray& directory);
    // Takes the lock over from `other`, which then holds nothing.
    StoreLock(StoreLock&& other) noexcept;
    // Releases the lock.
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    StoreLock& operator=(StoreLock&&) = delete;

private:
    explicit StoreLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace mindlark
