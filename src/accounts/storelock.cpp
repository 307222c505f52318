#include "accounts/storelock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>

namespace mindlark {

Outcome<StoreLock> StoreLock::take(const QByteArray& directory) {
    int fd;
    do {
        fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Failure::ofErrno(errno);
    StoreLock lock(fd);
    int result;
    do {
        result = ::flock(fd, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        return Failure::ofErrno(errno);
    return lock;
}

StoreLock::StoreLock(StoreLock&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

StoreLock::~StoreLock() {
    // Closing the only descriptor of the open directory drops its lock.
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace mindlark
