#pragma once

#include <QByteArray>
#include <QString>

namespace mindlark {

// The exclusive lock every copy of the program takes on a store before changing
// it: flock() on the store directory itself, so no lock file joins the store and a
// copy that dies releases the lock with its descriptors.
class StoreLock {
public:
    // Waits until this object holds the lock of the directory at the encoded path
    // `directory`. Throws StoreError naming `displayName` when it cannot be taken.
    StoreLock(const QByteArray& directory, const QString& displayName);
    // Releases the lock.
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace mindlark
