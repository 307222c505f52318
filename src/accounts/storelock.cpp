#include "accounts/storelock.h"

#include "accounts/storeerror.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>

namespace mindlark {

StoreLock::StoreLock(const QByteArray& directory, const QString& displayName) {
    do {
        fd_ = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) {
        throw StoreError(
            QStringLiteral("Cannot lock %1: %2").arg(displayName, qt_error_string(errno)));
    }
    int result;
    do {
        result = ::flock(fd_, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        ::close(fd_);
        throw StoreError(
            QStringLiteral("Cannot lock %1: %2").arg(displayName, qt_error_string(error)));
    }
}

StoreLock::~StoreLock() {
    // Closing the only descriptor of the open directory drops its lock.
    ::close(fd_);
}

}  // namespace mindlark
