#include "lock/storelock.h"

#include "inflight/inflight.h"
#include "rtf/rtf.h"

#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace mindlark {

namespace {

// How often a waiting copy looks again.
constexpr int kRetryMs = 50;
// A wait is given up at this many times its bound without progress, whatever
// happens meanwhile: far beyond any queue of registrations.
constexpr int kFarBeyond = 10;
// How often, and how long apart, a release tries again to remove the lock
// directory that a client keeps for a moment (see release()).
constexpr int kRemoveTries = 50;
constexpr int kRemovePauseMs = 10;
// No lock record comes near this size.
constexpr qsizetype kMaxRecord = 4096;
// The first words of every lock record.
constexpr char16_t kRecordTag[] = u"mindlark store lock";

const QByteArray kDirectory = QByteArrayLiteral(".lockdir.qk");
const QByteArray kQueue = QByteArrayLiteral(".queue.qk");
const QByteArray kLegacy = QByteArrayLiteral(".lock.qk");

std::int64_t bootMilliseconds() {
    // Unlike the steady clock, this one runs on while the machine sleeps: a lid
    // closed for a minute is a minute in which the lock may have been broken.
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

QByteArray below(const QByteArray& directory, const QByteArray& name) {
    return directory + '/' + name;
}

// What a failed look at `path` below `directory` means: an SMB client (smbnetfs)
// answers a look at a lock or token that another copy removed meanwhile with an
// I/O error, where the lock's waits expect to hear that it went.
Failure lookFailure(int directory, const QByteArray& path, int error) {
    struct stat info;
    if (error == EIO && ::fstatat(directory, path.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0 &&
        errno == ENOENT)
        error = ENOENT;
    return Failure::ofErrno(error);
}

// The bytes of the small file `path` below `directory`, never following a link
// nor waiting on a FIFO; at most kMaxRecord + 1 of them.
Outcome<QByteArray> readSmall(int directory, const QByteArray& path) {
    int fd;
    do {
        fd = ::openat(directory, path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return lookFailure(directory, path, errno);
    QByteArray bytes(kMaxRecord + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return lookFailure(directory, path, error);
        }
        if (n == 0)
            break;
        filled += n;
    }
    ::close(fd);
    bytes.truncate(filled);
    return bytes;
}

QString textOf(const QByteArray& bytes) {
    const rtf::ReadResult document = rtf::read(bytes);
    return document.ok ? document.text : QString();
}

// The entries of the directory `path` below `directory`, by their names on disk.
Outcome<QList<QByteArray>> namesIn(int directory, const QByteArray& path) {
    const int fd =
        ::openat(directory, path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return lookFailure(directory, path, errno);
    DIR* listing = ::fdopendir(fd);
    if (!listing) {
        const int error = errno;
        ::close(fd);
        return lookFailure(directory, path, error);
    }
    QList<QByteArray> names;
    // A listing cut short is no listing: a waiter missed would be overtaken.
    int error = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(listing);
        if (!entry) {
            error = errno;
            break;
        }
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names += name;
    }
    ::closedir(listing);
    if (error != 0)
        return lookFailure(directory, path, error);
    return names;
}

// Keeps a value from breaking the record's one line into fields.
QString plain(QString value) {
    for (QChar& c : value) {
        if (c == u';' || c == u'=' || c.unicode() < 0x20)
            c = u' ';
    }
    return value;
}

// The token a queue entry "TICKET-TOKEN" carries, and its place in the queue.
struct QueueKey {
    qint64 ticket = -1;
    QByteArray token;
    bool operator<(const QueueKey& other) const {
        return ticket != other.ticket ? ticket < other.ticket : token < other.token;
    }
};
QueueKey queueKeyOf(const QByteArray& name) {
    const qsizetype dash = name.indexOf('-');
    bool ok = false;
    const qint64 ticket = dash > 0 ? name.left(dash).toLongLong(&ok) : -1;
    return ok ? QueueKey{ticket, name.mid(dash + 1)} : QueueKey{-1, name};
}

// Who a token's or queue entry's name says its copy is.
std::optional<CopyIdentity> copyNamedBy(QStringView tag) {
    const std::optional<temporaries::Owner> owner = temporaries::ownerOfTag(tag);
    if (!owner)
        return std::nullopt;
    return CopyIdentity{owner->host, owner->boot, owner->pid, {}};
}

Failure lost() {
    return Failure{0, QStringLiteral("another copy of the game took the store over while this "
                                     "one was held up; nothing more was written")};
}

}  // namespace

// One copy's wait for the lock: what it has seen of the others and since when.
class StoreLock::Waiting {
public:
    Waiting(StoreLock& lock, const LockWait& wait, const Alongside& alongside)
        : lock_(lock),
          wait_(wait),
          alongside_(alongside),
          start_(lock.now()),
          lastProgress_(start_) {}

    Outcome<bool> run() {
        for (;;) {
            const Outcome<bool> taken = round();
            if (!taken.ok() || taken.value()) {
                leaveQueue();
                return taken;
            }
            const std::int64_t now = lock_.now();
            if (now - lastProgress_ >= wait_.giveUpAfterMs ||
                now - start_ >= kFarBeyond * wait_.giveUpAfterMs) {
                leaveQueue();
                return Failure{EWOULDBLOCK,
                               QStringLiteral("%1 is writing the store; nothing was written")
                                   .arg(anotherCopy())};
            }
            if (!told_ && now - start_ >= wait_.noticeAfterMs) {
                told_ = true;
                if (wait_.onWaiting)
                    wait_.onWaiting(busyNotice(elsewhere() ? holder_->copy.host : QString()));
            }
            refreshEntry();
            if (wait_.pause)
                wait_.pause(kRetryMs);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(kRetryMs));
        }
    }

private:
    int directory() const { return lock_.directory_; }

    // One look: true once the lock is this copy's.
    Outcome<bool> round() {
        // A copy that has not queued tries at once, and looks at the queue in
        // flight with putting its token in: where the queue is empty, as it mostly
        // is, that look costs no wait of its own on a file server.
        const bool queued = !entry_.isEmpty();
        if (queued) {
            const Outcome<int> ahead = waitersAhead();
            if (!ahead.ok())
                return ahead.failure();
            if (ahead.value() > 0)
                return false;
        }
        const std::int64_t began = lock_.now();
        if (::mkdirat(directory(), kDirectory.constData(), lock_.modes_.directory) == 0) {
            lock_.step(LockStep::Made);
            widen(kDirectory, lock_.modes_.directory);
            return settle(began, true, !queued);
        }
        const int error = errno;
        if (error == EINTR)
            return false;
        struct stat info;
        // sshfs reports a refused mkdir as EPERM, its server having said only "failure".
        if (error != EEXIST && !(error == EPERM && ::fstatat(directory(), kDirectory.constData(),
                                                             &info, AT_SYMLINK_NOFOLLOW) == 0)) {
            return Failure::ofErrno(error);
        }
        announce();
        return judgeHeldLock(!queued);
    }

    // Puts this copy's token in the lock directory just made or just emptied of a
    // stale token; true when the lock is then this copy's alone. With
    // `lookAtQueue`, copies already waiting in the queue go first.
    Outcome<bool> settle(std::int64_t began, bool made, bool lookAtQueue) {
        lock_.since_ = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
        Outcome<> written;
        Outcome<QList<QByteArray>> queue = QList<QByteArray>();
        Outcome<QByteArray> legacy = Failure{};
        // Every look and write here waits on its own on a file server: all in flight.
        runInFlight(4, 4, [&](int job) {
            if (job == 0) {
                written = lock_.openLockDirectory();
                if (written.ok())
                    written = lock_.writeToken(lock_.lockDirectory_, lock_.token_, true);
            } else if (job == 1) {
                if (lookAtQueue)
                    queue = namesIn(directory(), kQueue);
            } else if (job == 2) {
                legacy = readSmall(directory(), kLegacy);
            } else if (alongside_) {
                alongside_();
            }
        });
        if (!written.ok()) {
            lock_.closeLockDirectory();
            if (written.error() == ENOENT)
                return false;  // the directory went meanwhile: look again
            if (made)
                ::unlinkat(directory(), kDirectory.constData(), AT_REMOVEDIR);
            return made ? Outcome<bool>(written.failure()) : Outcome<bool>(false);
        }
        lock_.holds_ = true;
        lock_.step(LockStep::Taken);
        // Held up between making the lock and putting the token in, this copy may
        // have put it into a lock another copy made meanwhile; a break always looks.
        if ((!made || lock_.now() - began > kSuspectAfterMs) && !aloneInLock()) {
            lock_.dropToken();
            return false;
        }
        if (queue.ok() ? !queue.value().isEmpty() : queue.error() != ENOENT) {
            const Outcome<int> ahead = waitersAhead();
            if (!ahead.ok() || ahead.value() > 0) {
                lock_.release();
                if (!ahead.ok())
                    return ahead.failure();
                announce();
                return false;
            }
        }
        const Outcome<bool> legacyGone = legacyAllows(legacy);
        if (!legacyGone.ok() || !legacyGone.value()) {
            lock_.release();
            return legacyGone;
        }
        // Proven from the moment this look began, the earliest it can vouch for.
        lock_.confirmedAt_ = began;
        return true;
    }

    bool aloneInLock() {
        const Outcome<QList<QByteArray>> names = namesIn(directory(), kDirectory);
        return names.ok() && names.value() == QList<QByteArray>{lock_.token_};
    }

    // Looks at the lock another copy holds; breaks it, and takes it, when it is stale.
    Outcome<bool> judgeHeldLock(bool lookAtQueue) {
        const Outcome<QList<QByteArray>> names = namesIn(directory(), kDirectory);
        if (!names.ok())
            return names.error() == ENOENT ? Outcome<bool>(false) : names.failure();
        if (names.value().isEmpty()) {
            // Made by a copy that died before its token was in, or left by a release
            // cut short: once it has stayed empty for long, nobody is coming.
            if (silentFor("lock:", {}) >= kStaleAfterMs)
                ::unlinkat(directory(), kDirectory.constData(), AT_REMOVEDIR);
            return false;
        }
        for (const QByteArray& token : names.value()) {
            const Outcome<QByteArray> bytes = readSmall(directory(), below(kDirectory, token));
            if (!bytes.ok())
                continue;
            std::optional<Holder> holder = holderOf(textOf(bytes.value()));
            if (!holder) {
                if (const auto named = copyNamedBy(QString::fromLatin1(token)))
                    holder = Holder{*named, {}, {}};
            }
            if (holder)
                holder_ = holder;
            if (token != lastHolder_) {
                lastHolder_ = token;
                lastProgress_ = lock_.now();
            }
            // A holder of this machine is judged by its process alone: a copy held
            // up here is still alive, and breaking it would only cost its work.
            const bool here = holder && holder->copy.isOnBootOf(lock_.identity_);
            const bool gone = holder && holder->copy.hasEnded(lock_.identity_);
            if (!gone && (here || silentFor("lock:" + token, bytes.value()) < kStaleAfterMs))
                continue;
            const std::int64_t began = lock_.now();
            lock_.step(LockStep::Breaking);
            // Of several copies breaking one stale lock, one removes its token.
            if (::unlinkat(directory(), below(kDirectory, token).constData(), 0) != 0)
                continue;
            lock_.broken_ = temporaries::ownerOfTag(QString::fromLatin1(token));
            return settle(began, false, lookAtQueue);
        }
        return false;
    }

    // Honours the lock file of an earlier version of the game, read as `bytes`:
    // true when there is none, or it was stale and is gone.
    Outcome<bool> legacyAllows(const Outcome<QByteArray>& bytes) {
        if (bytes.error() == ENOENT)
            return true;
        const QByteArray judged = bytes.ok() ? bytes.value() : QByteArray();
        const std::optional<Holder> holder = holderOf(textOf(judged));
        if (holder)
            holder_ = holder;
        const bool gone = holder && holder->copy.hasEnded(lock_.identity_);
        if (!gone && silentFor("legacy:", judged) < kStaleAfterMs)
            return false;
        // Moved aside first, and put back when it is not the lock judged, as
        // copies of that version break it.
        const QByteArray aside = temporaries::nameFor(kLegacy);
        if (::renameat(directory(), kLegacy.constData(), directory(), aside.constData()) != 0)
            return errno == ENOENT;
        const Outcome<QByteArray> moved = readSmall(directory(), aside);
        if (!moved.ok() || moved.value() != judged) {
            ::renameat(directory(), aside.constData(), directory(), kLegacy.constData());
            return false;
        }
        ::unlinkat(directory(), aside.constData(), 0);
        if (holder) {
            lock_.broken_ =
                temporaries::Owner{CopyIdentity::fileNameHost(holder->copy.host),
                                   temporaries::bootTag(holder->copy.boot), holder->copy.pid};
        }
        return true;
    }

    // How many copies wait ahead of this one, leaving out those proven gone or
    // silent for long, whose entries go.
    Outcome<int> waitersAhead() {
        const Outcome<QList<QByteArray>> names = namesIn(directory(), kQueue);
        if (!names.ok())
            return names.error() == ENOENT ? Outcome<int>(0) : names.failure();
        const QueueKey mine = queueKeyOf(entry_);
        int ahead = 0;
        for (const QByteArray& name : names.value()) {
            if (name == entry_ || (!entry_.isEmpty() && !(queueKeyOf(name) < mine)))
                continue;
            const QByteArray path = below(kQueue, name);
            struct stat info;
            if (::fstatat(directory(), path.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            const std::optional<CopyIdentity> waiter =
                copyNamedBy(QString::fromLatin1(queueKeyOf(name).token));
            const QByteArray signature = QByteArray::number(qint64(info.st_mtim.tv_sec)) + '.' +
                                         QByteArray::number(qint64(info.st_mtim.tv_nsec)) + '.' +
                                         QByteArray::number(qint64(info.st_size));
            if ((waiter && waiter->hasEnded(lock_.identity_)) ||
                silentFor("queue:" + name, signature) >= kStaleAfterMs) {
                ::unlinkat(directory(), path.constData(), 0);
                continue;
            }
            ++ahead;
        }
        if (ahead < lastAhead_)
            lastProgress_ = lock_.now();
        lastAhead_ = ahead;
        return ahead;
    }

    // Joins the queue, behind every copy already in it.
    void announce() {
        if (!entry_.isEmpty())
            return;
        qint64 last = 0;
        const Outcome<QList<QByteArray>> names = namesIn(directory(), kQueue);
        if (names.ok()) {
            for (const QByteArray& name : names.value())
                last = std::max(last, queueKeyOf(name).ticket);
        }
        const QByteArray entry =
            QByteArray::number(last + 1).rightJustified(12, '0') + '-' + lock_.token_;
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (::mkdirat(directory(), kQueue.constData(), lock_.modes_.directory) == 0)
                widen(kQueue, lock_.modes_.directory);
            const Outcome<> written = lock_.writeToken(directory(), below(kQueue, entry), true);
            if (written.ok()) {
                entry_ = entry;
                entryRefreshedAt_ = lock_.now();
                return;
            }
            // The queue emptied and went between the two steps: make it again.
            if (written.error() != ENOENT)
                return;
        }
    }

    void refreshEntry() {
        if (entry_.isEmpty() || lock_.now() - entryRefreshedAt_ < kRefreshAfterMs)
            return;
        ++lock_.beat_;
        entryRefreshedAt_ = lock_.now();
        if (lock_.writeToken(directory(), below(kQueue, entry_), false).error() == ENOENT) {
            // Taken for gone while held up: back into the queue, at its end.
            entry_.clear();
            announce();
        }
    }

    void leaveQueue() {
        if (entry_.isEmpty())
            return;
        ::unlinkat(directory(), below(kQueue, entry_).constData(), 0);
        ::unlinkat(directory(), kQueue.constData(), AT_REMOVEDIR);
        entry_.clear();
    }

    // Gives the group what it needs of a directory the umask narrowed.
    void widen(const QByteArray& path, mode_t mode) {
        if (lock_.modes_.group != gid_t(-1))
            ::fchownat(directory(), path.constData(), uid_t(-1), lock_.modes_.group,
                       AT_SYMLINK_NOFOLLOW);
        if ((mode & CopyIdentity::creationMask() & 0777) != 0)
            ::fchmodat(directory(), path.constData(), mode, 0);
    }

    // How long `key` has shown `signature`, on this copy's clock: the silence
    // that makes a lock or a waiter stale counts from its last change.
    std::int64_t silentFor(const QByteArray& key, const QByteArray& signature) {
        const std::int64_t now = lock_.now();
        auto [it, added] = seen_.try_emplace(key, signature, now);
        if (!added && it->second.first != signature)
            it->second = {signature, now};
        return now - it->second.second;
    }

    bool elsewhere() const { return holder_ && holder_->copy.host != lock_.identity_.host; }

    QString anotherCopy() const {
        if (elsewhere())
            return QStringLiteral("another copy of the game, on %1,").arg(holder_->copy.host);
        return QStringLiteral("another copy of the game");
    }

    StoreLock& lock_;
    const LockWait& wait_;
    const Alongside& alongside_;
    std::int64_t start_;
    std::int64_t lastProgress_;
    bool told_ = false;
    std::optional<Holder> holder_;
    QByteArray lastHolder_;
    int lastAhead_ = 0;
    QByteArray entry_;
    std::int64_t entryRefreshedAt_ = 0;
    std::map<QByteArray, std::pair<QByteArray, std::int64_t>> seen_;
};

StoreLock::StoreLock(int directory, const LockWait& wait, Modes modes)
    : directory_(directory),
      identity_(wait.identity.value_or(CopyIdentity::self())),
      clock_(wait.clock ? wait.clock : bootMilliseconds),
      atStep_(wait.atStep),
      modes_(modes) {
    token_ = (CopyIdentity::fileNameHost(identity_.host) + u'.' +
              temporaries::bootTag(identity_.boot) + u'.' + QString::number(identity_.pid) + u'.' +
              QString::number(QRandomGenerator::system()->generate64(), 16))
                 .toLatin1();
}

StoreLock::StoreLock(StoreLock&& other) noexcept
    : directory_(other.directory_),
      lockDirectory_(std::exchange(other.lockDirectory_, -1)),
      holds_(std::exchange(other.holds_, false)),
      identity_(std::move(other.identity_)),
      token_(std::move(other.token_)),
      since_(std::move(other.since_)),
      beat_(other.beat_),
      confirmedAt_(other.confirmedAt_),
      clock_(std::move(other.clock_)),
      atStep_(std::move(other.atStep_)),
      modes_(other.modes_),
      broken_(std::move(other.broken_)) {}

StoreLock::~StoreLock() {
    release();
    closeLockDirectory();
}

void StoreLock::release() {
    if (!holds_)
        return;
    step(LockStep::Releasing);
    const std::int64_t began = now();
    // Only the copy whose own token it removed may remove the directory: a
    // release that finds its token gone leaves another copy's lock alone, and one
    // held up on the way leaves the empty directory for the waiters to clear.
    if (::unlinkat(lockDirectory_, token_.constData(), 0) == 0) {
        // A FAT stick's FUSE driver and SMB keep a removed file in its directory
        // until every copy reading it has closed it, and refuse to remove the
        // directory meanwhile: left there, the empty lock would hold every waiter
        // for the whole silence of a lock left behind. Closing takes a moment.
        for (int attempt = 0; attempt < kRemoveTries && now() - began < kSuspectAfterMs;
             ++attempt) {
            if (::unlinkat(directory_, kDirectory.constData(), AT_REMOVEDIR) == 0 ||
                errno == ENOENT)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(kRemovePauseMs));
        }
    }
    holds_ = false;
    closeLockDirectory();
}

void StoreLock::dropToken() {
    ::unlinkat(lockDirectory_, token_.constData(), 0);
    holds_ = false;
    closeLockDirectory();
}

Outcome<> StoreLock::openLockDirectory() {
    closeLockDirectory();
    // O_PATH: no open of its own on a file server, only the lookup.
    const int fd =
        ::openat(directory_, kDirectory.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return lookFailure(directory_, kDirectory, errno);
    lockDirectory_ = fd;
    return {};
}

void StoreLock::closeLockDirectory() {
    if (lockDirectory_ >= 0)
        ::close(lockDirectory_);
    lockDirectory_ = -1;
}

QString StoreLock::directoryName() {
    return QString::fromLatin1(kDirectory);
}

QString StoreLock::queueName() {
    return QString::fromLatin1(kQueue);
}

QString StoreLock::legacyFileName() {
    return QString::fromLatin1(kLegacy);
}

std::int64_t StoreLock::now() const {
    return clock_();
}

void StoreLock::step(LockStep at) const {
    if (atStep_)
        atStep_(at);
}

QString StoreLock::record() const {
    // The beat has a fixed width, so a refresh rewrites the file in place without
    // ever making it shorter.
    return QStringLiteral("%1; host=%2; boot=%3; pid=%4; started=%5; token=%6; since=%7; beat=%8")
        .arg(QString::fromUtf16(kRecordTag), plain(identity_.host), plain(identity_.boot))
        .arg(identity_.pid)
        .arg(plain(identity_.started), QString::fromLatin1(token_), since_)
        .arg(beat_, 12, 10, QChar(u'0'));
}

Outcome<> StoreLock::writeToken(int at, const QByteArray& path, bool create) const {
    const int flags = O_WRONLY | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT | O_EXCL : 0);
    int fd;
    do {
        fd = ::openat(at, path.constData(), flags, modes_.file);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Failure::ofErrno(errno);
    // A disk that keeps no modes refuses this, and needs nothing of it.
    if (create && modes_.group != gid_t(-1))
        static_cast<void>(::fchown(fd, uid_t(-1), modes_.group));
    if (create && (modes_.file & CopyIdentity::creationMask() & 0777) != 0)
        static_cast<void>(::fchmod(fd, modes_.file));
    const QByteArray bytes = rtf::write(record());
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return Failure::ofErrno(error);
        }
        done += n;
    }
    // Not flushed: a token that a crash leaves empty or cut short is taken for a
    // dead copy's like any other, and every flush waits on the disk or the server.
    ::close(fd);
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
    return holder.copy.hasEnded();
}

Outcome<StoreLock> StoreLock::take(int directory, const LockWait& wait, Modes modes,
                                   const Alongside& alongside) {
    StoreLock lock(directory, wait, modes);
    const Outcome<bool> taken = Waiting(lock, wait, alongside).run();
    if (!taken.ok())
        return taken.failure();
    return lock;
}

Outcome<> StoreLock::confirm() {
    if (!holds_)
        return lost();
    const std::int64_t checked = now();
    if (checked - confirmedAt_ >= kRefreshAfterMs) {
        step(LockStep::Refreshed);
        ++beat_;
        const Outcome<> written = writeToken(lockDirectory_, token_, false);
        if (!written.ok()) {
            if (written.error() != ENOENT)
                return written;
            holds_ = false;
            return lost();
        }
    } else {
        // Only whether the name is there: a lookup, without asking for its status.
        const int fd =
            ::openat(lockDirectory_, token_.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            if (const Failure failure = lookFailure(lockDirectory_, token_, errno);
                failure.error != ENOENT)
                return failure;
            holds_ = false;
            return lost();
        }
        ::close(fd);
    }
    confirmedAt_ = checked;
    step(LockStep::Confirmed);
    return {};
}

bool StoreLock::mayHaveLapsed() const {
    return !holds_ || now() - confirmedAt_ > kSuspectAfterMs;
}

QStringList StoreLock::describe(int directory, const QString& shownAs) {
    QStringList lines;
    const auto describeOne = [&](const QByteArray& path, const QString& what) {
        const Outcome<QByteArray> bytes = readSmall(directory, path);
        const std::optional<Holder> holder =
            bytes.ok() ? holderOf(textOf(bytes.value())) : std::nullopt;
        const QString shown = shownAs + u'/' + QString::fromLatin1(path);
        if (!holder) {
            lines += QStringLiteral(
                         "%1 that names no holder: %2; the game takes it for a dead "
                         "copy's once it stays unchanged")
                         .arg(what, shown);
            return;
        }
        const QString who = QStringLiteral("on %1, process %2, since %3")
                                .arg(holder->copy.host)
                                .arg(holder->copy.pid)
                                .arg(holder->since);
        lines += isHolderGone(*holder)
                     ? QStringLiteral(
                           "%1 left by a copy of the game that has ended (%2): %3; "
                           "the next change removes it")
                           .arg(what, who, shown)
                     : QStringLiteral(
                           "%1 of a copy of the game (%2): %3; one that stays "
                           "unchanged is taken for a dead copy's")
                           .arg(what, who, shown);
    };
    const Outcome<QList<QByteArray>> tokens = namesIn(directory, kDirectory);
    if (tokens.ok() && tokens.value().isEmpty()) {
        lines += QStringLiteral("an empty lock: %1/%2; the game removes it once it stays so")
                     .arg(shownAs, QString::fromLatin1(kDirectory));
    }
    for (const QByteArray& token : tokens.ok() ? tokens.value() : QList<QByteArray>())
        describeOne(below(kDirectory, token), QStringLiteral("a lock"));
    const Outcome<QList<QByteArray>> waiting = namesIn(directory, kQueue);
    for (const QByteArray& entry : waiting.ok() ? waiting.value() : QList<QByteArray>())
        describeOne(below(kQueue, entry), QStringLiteral("a wait for the lock"));
    struct stat info;
    if (::fstatat(directory, kLegacy.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        describeOne(kLegacy, QStringLiteral("a lock"));
    return lines;
}

QString busyNotice(const QString& host) {
    if (host.isEmpty())
        return QStringLiteral("Another copy of the game is writing the store; waiting for it.");
    return QStringLiteral("Another copy of the game, on %1, is writing the store; waiting for it.")
        .arg(host);
}

}  // namespace mindlark
