#include "accounts/storelock.h"

#include "accounts/storefiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <thread>

namespace mindlark {

namespace {

// How often a waiting copy tries again.
constexpr int kRetryMs = 50;

std::int64_t steadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

Outcome<StoreLock> StoreLock::take(const QByteArray& directory, const LockWait& wait) {
    const Outcome<int> opened = storefiles::openDirectory(AT_FDCWD, directory);
    if (!opened.ok())
        return opened.failure();
    StoreLock lock(opened.value());
    const auto now = [&wait] { return wait.clock ? wait.clock() : steadyMilliseconds(); };
    const std::int64_t start = now();
    bool told = false;
    for (;;) {
        if (::flock(lock.fd_, LOCK_EX | LOCK_NB) == 0)
            return lock;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return Failure::ofErrno(errno);
        const std::int64_t waited = now() - start;
        if (waited >= wait.giveUpAfterMs) {
            return Failure{EWOULDBLOCK,
                           QStringLiteral("another copy of the game is writing the store; "
                                          "nothing was written")};
        }
        if (!told && waited >= wait.noticeAfterMs) {
            told = true;
            if (wait.onWaiting)
                wait.onWaiting(busyNotice());
        }
        if (wait.pause)
            wait.pause(kRetryMs);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(kRetryMs));
    }
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
