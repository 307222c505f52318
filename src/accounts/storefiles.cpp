#include "accounts/storefiles.h"

#include "accounts/storetesthooks.h"
#include "rtf/rtf.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>

namespace mindlark::storefiles {

namespace {

// Real store files hold a few hundred bytes: one read of this size takes them whole.
constexpr qsizetype kFirstReadSize = 4096;

std::atomic<testhooks::BeforeRename> beforeRenameHook{nullptr};

// Marks every temporary: a leading dot, then the final name, then this and a random tag.
constexpr char kTemporaryTag[] = ".tmp-";

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

}  // namespace

Outcome<QByteArray> readFile(const QByteArray& path) {
    return readFileAt(AT_FDCWD, path);
}

Outcome<QByteArray> readFileAt(int directory, const QByteArray& name) {
    QByteArray data;
    if (Outcome<> read = readFileInto(directory, name.constData(), data); !read.ok())
        return read.failure();
    return data;
}

Outcome<> readFileInto(int directory, const char* name, QByteArray& into) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer, nor reading a device
    // for input. There is no fstat() here: a sign-in reads every file of the store,
    // and one more system call per file would cost a fifth of its time.
    int fdNumber;
    do {
        fdNumber = ::openat(directory, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
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
    return {};
}

Outcome<QString> documentText(QByteArrayView bytes) {
    rtf::ReadResult document = rtf::read(bytes);
    if (!document.ok)
        return Failure{0, QStringLiteral("not a valid store file (%1)").arg(document.error)};
    return std::move(document.text);
}

Outcome<> replaceFile(int directory, const QByteArray& name, QByteArrayView data) {
    struct stat owner;
    if (::fstat(directory, &owner) != 0)
        return Failure::ofErrno(errno);
    // A file the directory's owner cannot read would lock that player out, as a
    // copy run by root would leave behind; only root can give a file away.
    const bool giveAway = owner.st_uid != ::geteuid();
    if (giveAway && ::geteuid() != 0) {
        return Failure{EPERM, QStringLiteral("the store belongs to another user, who could not "
                                             "read what this one writes")};
    }
    // One temporary name per file: every write holds the store's lock, so a
    // temporary found under that name belongs to a write that died, and taking it
    // over keeps the dead from piling up.
    const QByteArray temporaryName = '.' + name + kTemporaryTag + "w";
    int fdNumber = -1;
    for (int attempt = 0; attempt < 2 && fdNumber < 0; ++attempt) {
        do {
            fdNumber = ::openat(directory, temporaryName.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        } while (fdNumber < 0 && errno == EINTR);
        if (fdNumber < 0 && errno != EEXIST)
            return Failure::ofErrno(errno);
        if (fdNumber < 0 && ::unlinkat(directory, temporaryName.constData(), 0) != 0 &&
            errno != ENOENT) {
            return Failure::ofErrno(errno);
        }
    }
    if (fdNumber < 0)
        return Failure::ofErrno(EEXIST);
    FileDescriptor fd(fdNumber);
    const auto discard = [directory, &temporaryName](Failure failure) {
        ::unlinkat(directory, temporaryName.constData(), 0);
        return failure;
    };
    if (giveAway && ::fchown(fd.get(), owner.st_uid, owner.st_gid) != 0)
        return discard(Failure::ofErrno(errno));
    // The umask may have taken more than group and other bits away; the owner must
    // still be able to read and write the file.
    if (::fchmod(fd.get(), 0600) != 0)
        return discard(Failure::ofErrno(errno));
    if (const Outcome<> written = writeAll(fd.get(), data); !written.ok())
        return discard(written.failure());
    if (::fsync(fd.get()) != 0)
        return discard(Failure::ofErrno(errno));
    if (const Outcome<> closed = fd.closeNow(); !closed.ok())
        return discard(closed.failure());
    if (const testhooks::BeforeRename hook = beforeRenameHook.load())
        hook(temporaryName, name);
    if (::renameat(directory, temporaryName.constData(), directory, name.constData()) != 0)
        return discard(Failure::ofErrno(errno));
    return syncDirectory(directory);
}

Outcome<> makeDirectory(const QByteArray& path) {
    if (::mkdir(path.constData(), 0700) != 0)
        return Failure::ofErrno(errno);
    // The umask cannot widen 0700, but it can narrow it below what the owner needs.
    if (::chmod(path.constData(), 0700) != 0)
        return Failure::ofErrno(errno);
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray parent = slash < 0    ? QByteArray(".")
                              : slash == 0 ? QByteArray("/")
                                           : path.left(slash);
    const Outcome<int> opened = openDirectory(AT_FDCWD, parent);
    if (!opened.ok())
        return opened.failure();
    FileDescriptor fd(opened.value());
    return syncDirectory(fd.get());
}

Outcome<> syncDirectory(int directory) {
    // Some file systems cannot flush a directory; the rename is then as durable as they allow.
    if (::fsync(directory) != 0 && errno != EINVAL && errno != EROFS)
        return Failure::ofErrno(errno);
    return {};
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

bool isTemporaryName(QStringView name) {
    return name.startsWith(u'.') && name.contains(QLatin1StringView(kTemporaryTag));
}

void testhooks::setBeforeRename(testhooks::BeforeRename hook) {
    beforeRenameHook.store(hook);
}

}  // namespace mindlark::storefiles
