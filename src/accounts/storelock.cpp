#include "accounts/storelock.h"

#include "rtf/rtf.h"

#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>

namespace mindlark {

namespace {

// How often a waiting copy tries again.
constexpr int kRetryMs = 50;
// A lock file untouched this long is a dead copy's whatever the clocks say.
constexpr std::int64_t kUntouchedSeconds = 3600;
// The first words of every lock file's text.
constexpr char16_t kRecordTag[] = u"mindlark store lock";

const QByteArray kLockName = QByteArrayLiteral(".lock.qk");

std::int64_t steadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The lock file's text: ENOENT when there is none, and a failure when it is no
// document yet (its holder is still writing it, or died doing so).
Outcome<QString> readLock(int directory) {
    const Outcome<QByteArray> bytes = storefiles::readFileAt(directory, kLockName);
    if (!bytes.ok())
        return bytes.failure();
    return storefiles::documentText(bytes.value());
}

bool untouchedForLong(int directory) {
    struct stat info;
    return ::fstatat(directory, kLockName.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           std::time(nullptr) - info.st_mtim.tv_sec > kUntouchedSeconds;
}

// "another copy of the game", naming its machine when that is another one.
QString anotherCopy(const std::optional<StoreLock::Holder>& holder) {
    if (holder && holder->copy.host != CopyIdentity::self().host)
        return QStringLiteral("another copy of the game, on %1,").arg(holder->copy.host);
    return QStringLiteral("another copy of the game");
}

// Keeps a value from breaking the record's one line into fields.
QString plain(QString value) {
    for (QChar& c : value) {
        if (c == u';' || c == u'=' || c.unicode() < 0x20)
            c = u' ';
    }
    return value;
}

}  // namespace

StoreLock::StoreLock(int directory, int flockDescriptor, std::function<std::int64_t()> clock)
    : directory_(directory), flockDescriptor_(flockDescriptor), clock_(std::move(clock)) {}

StoreLock::StoreLock(StoreLock&& other) noexcept
    : directory_(other.directory_),
      flockDescriptor_(std::exchange(other.flockDescriptor_, -1)),
      ownsFile_(std::exchange(other.ownsFile_, false)),
      token_(std::move(other.token_)),
      since_(std::move(other.since_)),
      beat_(other.beat_),
      refreshedAt_(other.refreshedAt_),
      clock_(std::move(other.clock_)),
      broken_(std::move(other.broken_)) {}

StoreLock::~StoreLock() {
    if (ownsFile_) {
        // A lock broken and taken by another copy is that copy's now.
        const Outcome<QString> text = readLock(directory_);
        const std::optional<Holder> holder = text.ok() ? holderOf(text.value()) : std::nullopt;
        if (holder && holder->token == token_)
            ::unlinkat(directory_, kLockName.constData(), 0);
    }
    // Closing the only descriptor of this open directory drops its flock.
    if (flockDescriptor_ >= 0)
        ::close(flockDescriptor_);
}

QString StoreLock::fileName() {
    return QString::fromLatin1(kLockName);
}

QString StoreLock::record() const {
    const CopyIdentity& me = CopyIdentity::self();
    // The beat has a fixed width, so a refresh rewrites the file in place without
    // ever making it shorter.
    return QStringLiteral("%1; host=%2; boot=%3; pid=%4; started=%5; token=%6; since=%7; beat=%8")
        .arg(QString::fromUtf16(kRecordTag), plain(me.host), plain(me.boot))
        .arg(me.pid)
        .arg(plain(me.started), token_, since_)
        .arg(beat_, 12, 10, QChar(u'0'));
}

Outcome<> StoreLock::writeRecord(int fd) const {
    const QByteArray bytes = rtf::write(record());
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failure::ofErrno(errno);
        done += n;
    }
    // Not flushed: a lock that a crash leaves empty or cut short is taken for a
    // dead copy's like any other, and every flush waits on the disk or the server.
    return {};
}

std::optional<StoreLock::Holder> StoreLock::holderOf(QStringView text) {
    const QList<QStringView> fields = text.split(QStringLiteral("; "));
    if (fields.isEmpty() || fields.first() != QStringView(kRecordTag))
        return std::nullopt;
    Holder holder;
    bool hasPid = false;
    for (const QStringView field : fields.mid(1)) {
        const qsizetype equals = field.indexOf(u'=');
        if (equals < 0)
            continue;
        const QStringView key = field.left(equals);
        const QString value = field.mid(equals + 1).toString();
        if (key == u"host")
            holder.copy.host = value;
        else if (key == u"boot")
            holder.copy.boot = value;
        else if (key == u"pid")
            holder.copy.pid = value.toLongLong(&hasPid);
        else if (key == u"started")
            holder.copy.started = value;
        else if (key == u"token")
            holder.token = value;
        else if (key == u"since")
            holder.since = value;
    }
    if (!hasPid || holder.token.isEmpty())
        return std::nullopt;
    return holder;
}

bool StoreLock::isHolderGone(const Holder& holder) {
    return holder.copy.isOnThisBoot() && holder.copy.pid != CopyIdentity::self().pid &&
           !CopyIdentity::isRunningHere(holder.copy.pid, holder.copy.started);
}

Outcome<StoreLock> StoreLock::take(int directory, const LockWait& wait) {
    std::function<std::int64_t()> clock = wait.clock ? wait.clock : steadyMilliseconds;
    // A descriptor of its own: flock() belongs to an open file, and closing this
    // one must release the lock and nothing else.
    const int own = ::openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (own < 0)
        return Failure::ofErrno(errno);
    StoreLock lock(directory, own, clock);
    lock.token_ = QString::number(QRandomGenerator::system()->generate64(), 16);
    const std::int64_t start = clock();
    bool told = false;
    bool flocked = false;
    std::optional<Holder> holder;
    // The lock file as last seen, and since when it has not changed.
    std::optional<QString> seen;
    std::int64_t seenSince = 0;
    bool vanished = false;
    int refusals = 0;
    for (;;) {
        if (!flocked) {
            if (::flock(own, LOCK_EX | LOCK_NB) == 0) {
                flocked = true;
            } else if (errno == ENOLCK || errno == EINVAL || errno == EOPNOTSUPP ||
                       errno == ENOSYS) {
                // A file system without flock(): the lock file alone keeps order.
                flocked = true;
            } else if (errno != EWOULDBLOCK && errno != EINTR) {
                return Failure::ofErrno(errno);
            }
        }
        if (flocked) {
            const int fd = ::openat(directory, kLockName.constData(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
            if (fd >= 0) {
                lock.since_ = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
                const Outcome<> written = lock.writeRecord(fd);
                ::close(fd);
                if (!written.ok()) {
                    ::unlinkat(directory, kLockName.constData(), 0);
                    return written.failure();
                }
                lock.ownsFile_ = true;
                lock.refreshedAt_ = clock();
                return lock;
            }
            const int error = errno;
            if (error == EINTR)
                continue;
            // sshfs reports an exclusive create that found the file as EPERM, the
            // SFTP server having said only "failure": it is EEXIST when the lock is
            // there, and worth another try or two when it has just gone.
            if (error == EPERM) {
                struct stat info;
                if (::fstatat(directory, kLockName.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0 &&
                    ++refusals <= 3) {
                    continue;
                }
                if (refusals > 3)
                    return Failure::ofErrno(error);
            } else if (error != EEXIST) {
                return Failure::ofErrno(error);
            }
            refusals = 0;
            const Outcome<QString> text = readLock(directory);
            // Released meanwhile: try again at once, but only once in a row, since
            // a client that still has the old lock file cached answers "exists"
            // to the create and "missing" to the read until its cache expires.
            if (text.error() == ENOENT && !vanished) {
                vanished = true;
                continue;
            }
            vanished = false;
            const QString current = text.ok() ? text.value() : QString();
            holder = holderOf(current);
            bool stale = holder && isHolderGone(*holder);
            if (!seen || *seen != current) {
                seen = current;
                seenSince = clock();
            } else if (clock() - seenSince >= kStaleAfterMs) {
                stale = true;
            }
            if ((stale || untouchedForLong(directory)) && lock.breakLock(current, holder)) {
                seen.reset();
                continue;
            }
        }
        const std::int64_t waited = clock() - start;
        if (waited >= wait.giveUpAfterMs) {
            return Failure{EWOULDBLOCK,
                           QStringLiteral("%1 is writing the store; nothing was written")
                               .arg(anotherCopy(holder))};
        }
        if (!told && waited >= wait.noticeAfterMs) {
            told = true;
            if (!holder) {
                // Waiting at the flock(): the lock file may still say who it is.
                const Outcome<QString> text = readLock(directory);
                holder = text.ok() ? holderOf(text.value()) : std::nullopt;
            }
            if (wait.onWaiting) {
                const bool elsewhere = holder && holder->copy.host != CopyIdentity::self().host;
                wait.onWaiting(busyNotice(elsewhere ? holder->copy.host : QString()));
            }
        }
        if (wait.pause)
            wait.pause(kRetryMs);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(kRetryMs));
    }
}

bool StoreLock::breakLock(const QString& judged, const std::optional<Holder>& holder) {
    // Moved aside first: of several copies breaking one dead lock, one moves it,
    // and a copy that moved a lock taken since it looked puts it back.
    const QByteArray aside = storefiles::temporaryNameFor(kLockName);
    if (::renameat(directory_, kLockName.constData(), directory_, aside.constData()) != 0)
        return false;
    const Outcome<QByteArray> bytes = storefiles::readFileAt(directory_, aside);
    const Outcome<QString> text =
        bytes.ok() ? storefiles::documentText(bytes.value()) : Outcome<QString>(bytes.failure());
    if ((text.ok() ? text.value() : QString()) != judged) {
        ::renameat(directory_, aside.constData(), directory_, kLockName.constData());
        return false;
    }
    ::unlinkat(directory_, aside.constData(), 0);
    if (holder) {
        broken_ =
            storefiles::TemporaryOwner{CopyIdentity::fileNameHost(holder->copy.host),
                                       storefiles::bootTag(holder->copy.boot), holder->copy.pid};
    }
    return true;
}

Outcome<> StoreLock::confirm() {
    const Outcome<QString> text = readLock(directory_);
    const std::optional<Holder> holder = text.ok() ? holderOf(text.value()) : std::nullopt;
    if (!holder || holder->token != token_) {
        ownsFile_ = false;
        return Failure{0, QStringLiteral("another copy of the game took the store over after "
                                         "this one had waited too long; the rest was not written")};
    }
    if (clock_() - refreshedAt_ < kRefreshAfterMs)
        return {};
    ++beat_;
    const int fd = ::openat(directory_, kLockName.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return Failure::ofErrno(errno);
    const Outcome<> written = writeRecord(fd);
    ::close(fd);
    refreshedAt_ = clock_();
    return written;
}

QString busyNotice(const QString& host) {
    if (host.isEmpty())
        return QStringLiteral("Another copy of the game is writing the store; waiting for it.");
    return QStringLiteral("Another copy of the game, on %1, is writing the store; waiting for it.")
        .arg(host);
}

}  // namespace mindlark
