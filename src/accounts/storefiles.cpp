#include "accounts/storefiles.h"

#include "accounts/storemodes.h"
#include "accounts/storetesthooks.h"
#include "lock/temporaries.h"
#include "rtf/rtf.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <iterator>

namespace mindlark::storefiles {

namespace {

// Real store files hold a few hundred bytes: one read of this size takes them whole.
constexpr qsizetype kFirstReadSize = 4096;

std::atomic<testhooks::BeforePlacing> beforePlacingHook{nullptr};

// Closes a descriptor on every path out of a scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, reporting the error close() gives (a late write failure on some file systems).
    Outcome<> closeNow() {
        const int result = ::close(fd_);
        fd_ = -1;
        if (result != 0)
            return Failure::ofErrno(errno);
        return {};
    }

private:
    int fd_;
};

int openRetrying(int at, const char* path, int flags) {
    int fd;
    do {
        fd = ::openat(at, path, flags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

Outcome<> writeAll(int fd, QByteArrayView data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, size_t(data.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Failure::ofErrno(errno);
        }
        done += n;
    }
    return {};
}

// Gives the file `name` just made in `directory`, open as `fdNumber` (taken
// over), the modes its folder asks for, writes `data` and flushes it; removes it
// again on failure.
Outcome<> fill(int directory, const QByteArray& name, int fdNumber, QByteArrayView data,
               const storemodes::StoreModes& modes) {
    FileDescriptor fd(fdNumber);
    const auto discard = [directory, &name](Failure failure) {
        ::unlinkat(directory, name.constData(), 0);
        return failure;
    };
    if (const Outcome<> given = storemodes::give(fd.get(), modes, false); !given.ok())
        return discard(given.failure());
    if (const Outcome<> written = writeAll(fd.get(), data); !written.ok())
        return discard(written.failure());
    if (::fsync(fd.get()) != 0)
        return discard(Failure::ofErrno(errno));
    if (const Outcome<> closed = fd.closeNow(); !closed.ok())
        return discard(closed.failure());
    return {};
}

}  // namespace

Outcome<QByteArray> readFile(const QByteArray& path) {
    return readFileAt(AT_FDCWD, path);
}

Outcome<QByteArray> readFileAt(int directory, const QByteArray& name, QByteArray into) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer, nor reading a device
    // for input. There is no fstat() here: a sign-in reads every file of the store,
    // and one more system call per file would cost a fifth of its time.
    int fdNumber;
    do {
        fdNumber =
            ::openat(directory, name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    } while (fdNumber < 0 && errno == EINTR);
    if (fdNumber < 0) {
        if (errno == ELOOP)
            return Failure{ELOOP, QString::fromUtf16(kLinkReason)};
        return Failure::ofErrno(errno);
    }
    FileDescriptor fd(fdNumber);
    // Emptied, not freed: a scan reads every file into the same allocation.
    into.resize(0);
    if (into.capacity() < kFirstReadSize)
        into.reserve(kFirstReadSize);
    for (;;) {
        if (into.size() == into.capacity()) {
            if (into.size() > rtf::kMaxDocumentSize)
                return Failure{EFBIG, QStringLiteral("larger than any store file")};
            into.reserve(std::min(2 * into.capacity(), rtf::kMaxDocumentSize + 1));
        }
        const qsizetype filled = into.size();
        into.resize(into.capacity());
        const ssize_t wanted = into.size() - filled;
        const ssize_t n = ::read(fd.get(), into.data() + filled, size_t(wanted));
        into.resize(filled + std::max<ssize_t>(n, 0));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN)
                return Failure{EAGAIN, QStringLiteral("not a regular file")};
            return Failure::ofErrno(errno);
        }
        // A regular file gives less than asked for only at its end, so a whole
        // store file takes one read, not two.
        if (n < wanted)
            break;
    }
    if (into.size() > rtf::kMaxDocumentSize)
        return Failure{EFBIG, QStringLiteral("larger than any store file")};
    if (into.isEmpty()) {
        // Only now is it worth asking what was opened: a FIFO without a writer
        // reads as empty too.
        struct stat info;
        if (::fstat(fd.get(), &info) == 0 && !S_ISREG(info.st_mode))
            return Failure{EINVAL, QStringLiteral("not a regular file")};
    }
    return into;
}

Outcome<QString> documentText(QByteArrayView bytes) {
    rtf::ReadResult document = rtf::read(bytes);
    if (!document.ok)
        return Failure{0, QStringLiteral("not a valid store file (%1)").arg(document.error)};
    return std::move(document.text);
}

Outcome<QByteArray> writeTemporary(int directory, const QByteArray& name, QByteArrayView data) {
    return writeTemporary(directory, name, data, storemodes::modesFor(directory));
}

Outcome<QByteArray> writeTemporary(int directory, const QByteArray& name, QByteArrayView data,
                                   const storemodes::StoreModes& modes) {
    const Outcome<BlankTemporary> blank = makeTemporary(directory, name, modes);
    if (!blank.ok())
        return blank.failure();
    return fillTemporary(directory, blank.value(), data, modes);
}

Outcome<BlankTemporary> makeTemporary(int directory, const QByteArray& name,
                                      const storemodes::StoreModes& modes) {
    // A file the folder's players cannot read would lock them out.
    if (const Outcome<> allowed = storemodes::mayWrite(modes); !allowed.ok())
        return allowed.failure();
    // A name no other write uses, here or on another machine sharing the store:
    // a copy never renames, nor removes, a temporary it did not make.
    BlankTemporary blank;
    for (int attempt = 0; attempt < 8 && blank.fd < 0; ++attempt) {
        blank.name = temporaries::nameFor(name);
        do {
            blank.fd = ::openat(directory, blank.name.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, modes.file);
        } while (blank.fd < 0 && errno == EINTR);
        if (blank.fd < 0 && errno != EEXIST)
            return Failure::ofErrno(errno);
    }
    if (blank.fd < 0)
        return Failure::ofErrno(EEXIST);
    return blank;
}

Outcome<QByteArray> fillTemporary(int directory, const BlankTemporary& blank, QByteArrayView data,
                                  const storemodes::StoreModes& modes) {
    if (const Outcome<> filled = fill(directory, blank.name, blank.fd, data, modes); !filled.ok())
        return filled.failure();
    return blank.name;
}

void dropTemporary(int directory, const BlankTemporary& blank) {
    ::close(blank.fd);
    ::unlinkat(directory, blank.name.constData(), 0);
}

Outcome<> writeNew(int directory, const QByteArray& name, QByteArrayView data,
                   const storemodes::StoreModes& modes) {
    if (const Outcome<> allowed = storemodes::mayWrite(modes); !allowed.ok())
        return allowed.failure();
    if (const testhooks::BeforePlacing hook = beforePlacingHook.load())
        hook(QByteArray(), name);
    int fdNumber;
    do {
        fdNumber = ::openat(directory, name.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, modes.file);
    } while (fdNumber < 0 && errno == EINTR);
    if (fdNumber < 0)
        return Failure::ofErrno(errno);
    return fill(directory, name, fdNumber, data, modes);
}

Outcome<> publish(int directory, const QByteArray& temporary, const QByteArray& name) {
    if (const testhooks::BeforePlacing hook = beforePlacingHook.load())
        hook(temporary, name);
    if (::renameat(directory, temporary.constData(), directory, name.constData()) == 0)
        return {};
    const int error = errno;
    struct stat info;
    // Some SMB clients refuse to rename over a file ("File exists", "Device or
    // resource busy"), and some report a rename that was done as refused.
    if (error != EEXIST && error != EBUSY && error != EACCES)
        return Failure::ofErrno(error);
    if (::fstatat(directory, temporary.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Outcome<>() : Failure::ofErrno(error);
    // The old file out of the way first: readers of the counter read again
    // while it is missing for a moment.
    if (::unlinkat(directory, name.constData(), 0) != 0 && errno != ENOENT)
        return Failure::ofErrno(error);
    if (::renameat(directory, temporary.constData(), directory, name.constData()) != 0)
        return Failure::ofErrno(errno);
    return {};
}

Outcome<> replaceFile(int directory, const QByteArray& name, QByteArrayView data,
                      const BeforePublish& beforePublish) {
    const Outcome<QByteArray> temporary = writeTemporary(directory, name, data);
    if (!temporary.ok())
        return temporary.failure();
    const auto discard = [directory, &temporary](Failure failure) {
        ::unlinkat(directory, temporary.value().constData(), 0);
        return failure;
    };
    if (beforePublish) {
        if (const Outcome<> allowed = beforePublish(); !allowed.ok())
            return discard(allowed.failure());
    }
    if (const Outcome<> published = publish(directory, temporary.value(), name); !published.ok()) {
        return discard(published.failure());
    }
    return syncDirectory(directory);
}

Outcome<> makeDirectory(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray parent = slash < 0    ? QByteArray(".")
                              : slash == 0 ? QByteArray("/")
                                           : path.left(slash);
    const Outcome<int> opened = openDirectory(AT_FDCWD, parent);
    if (!opened.ok())
        return opened.failure();
    FileDescriptor fd(opened.value());
    const storemodes::StoreModes modes = storemodes::modesFor(fd.get());
    if (const Outcome<> allowed = storemodes::mayWrite(modes); !allowed.ok())
        return allowed.failure();
    if (::mkdir(path.constData(), 0700) != 0)
        return Failure::ofErrno(errno);
    const Outcome<int> made = openDirectory(AT_FDCWD, path);
    if (!made.ok())
        return made.failure();
    FileDescriptor directory(made.value());
    // A directory its folder's players cannot use goes again at once.
    if (const Outcome<> given = storemodes::give(directory.get(), modes, true); !given.ok()) {
        ::rmdir(path.constData());
        return given.failure();
    }
    return syncDirectory(fd.get());
}

Outcome<> syncDirectory(int directory) {
    // Some file systems cannot flush a directory; the rename is then as durable as they allow.
    if (::fsync(directory) != 0 && errno != EINVAL && errno != EROFS)
        return Failure::ofErrno(errno);
    return {};
}

bool isOnFileServer(int directory) {
    // The magic numbers of <linux/magic.h>, not all of which every system's header has.
    static constexpr unsigned long kRemote[] = {
        0x6969,      // NFS
        0x517B,      // SMB
        0xFF534D42,  // CIFS
        0xFE534D42,  // SMB2
        0x65735546,  // FUSE: sshfs, smbnetfs, exfat-fuse, ...
        0x01021997,  // 9P
        0x00C36400,  // Ceph
        0x5346414F,  // AFS
        0x6B414653,  // kAFS
        0x73757245,  // Coda
        0x0BD00BD0,  // Lustre
        0x47504653,  // GPFS
    };
    struct statfs info;
    if (::fstatfs(directory, &info) != 0)
        return false;
    const auto type = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFul;
    return std::find(std::begin(kRemote), std::end(kRemote), type) != std::end(kRemote);
}

Outcome<int> openDirectory(int at, const QByteArray& path) {
    const int fd =
        openRetrying(at, path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        if (errno == ELOOP)
            return Failure{ELOOP, QString::fromUtf16(kLinkReason)};
        return Failure::ofErrno(errno);
    }
    return fd;
}

}  // namespace mindlark::storefiles

void mindlark::testhooks::setBeforePlacing(BeforePlacing hook) {
    mindlark::storefiles::beforePlacingHook.store(hook);
}
