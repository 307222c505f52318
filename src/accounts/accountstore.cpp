#include "accounts/accountstore.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <limits>
#include <thread>
#include <utility>

#include "accounts/foldeddirectory.h"
#include "accounts/registration.h"
#include "accounts/storeerror.h"
#include "accounts/storefiles.h"
#include "accounts/storeinventory.h"
#include "accounts/storemodes.h"
#include "accounts/storenames.h"
#include "accounts/storetesthooks.h"
#include "inflight/inflight.h"
#include "lock/storelock.h"
#include "lock/temporaries.h"
#include "numbers/numbers.h"
#include "rtf/rtf.h"

namespace mindlark {

namespace {

const QString kDirectory = QString::fromUtf16(storenames::kDirectory);
const QString kCounterName = QString::fromUtf16(storenames::kCounterName);
const QString kCounterPath = QString::fromUtf16(storenames::kCounterPath);

// Where the store's one error convention meets the player: the failure becomes a
// StoreError naming what was done to which file.
[[noreturn]] void fail(const QString& operation, const QString& file, const Failure& failure) {
    throw StoreError(cannot(operation, file, failure.reason));
}

template <typename T>
T take(Outcome<T> outcome, const QString& operation, const QString& file) {
    if (!outcome.ok())
        fail(operation, file, outcome.failure());
    return std::move(outcome.value());
}

// How often, and how far apart, a counter that cannot be read is read again
// before it is taken for lost.
constexpr int kCounterRereads = 5;
constexpr int kCounterRereadMs = 100;
// How far probing looks for users beyond a listing's.
constexpr std::int64_t kProbeLimit = std::int64_t(1) << 40;
// Reads a scan keeps in flight on a file server.
constexpr int kReadsInFlight = 32;
// How many reads every scan keeps in flight; negative: chosen by the file system.
std::atomic<int> readsInFlight{-1};

// How many reads, or changes of modes, to keep in flight in the open `directory`.
int readsInFlightFor(int directory) {
    const int reads = readsInFlight.load();
    if (reads >= 0)
        return reads;
    return directory >= 0 && storefiles::isOnFileServer(directory) ? kReadsInFlight : 0;
}

}  // namespace

class AccountStore::Impl {
public:
    explicit Impl(QString directory)
        : workingDirectory(std::move(directory)),
          work(QFile::encodeName(QDir(workingDirectory).absolutePath())) {}
    ~Impl() { closeStore(); }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // The store directory, found regardless of case and held open from then on.
    Outcome<FoldedDirectory*> storeDirectory() {
        if (store)
            return store.get();
        // Opened by its own name first: on a file server, looking before opening
        // costs as much as the opening. Not there, or no directory (a link says
        // ENOTDIR here), it is looked for and told apart.
        QByteArray path = work.path() + '/' + QFile::encodeName(kDirectory);
        Outcome<int> opened = storefiles::openDirectory(AT_FDCWD, path);
        if (opened.error() == ENOENT || opened.error() == ENOTDIR) {
            const Outcome<QString> name = work.findEntry(kDirectory);
            if (!name.ok())
                return name.failure();
            path = work.path() + '/' + QFile::encodeName(name.value());
            opened = storefiles::openDirectory(AT_FDCWD, path);
        }
        if (!opened.ok())
            return opened.failure();
        storeDescriptor = opened.value();
        store = std::make_unique<FoldedDirectory>(path, storeDescriptor);
        return store.get();
    }

    void closeStore() {
        store.reset();
        if (storeDescriptor >= 0)
            ::close(storeDescriptor);
        storeDescriptor = -1;
    }

    // After a miss: whether "QK" now names another directory than the one held
    // (moved aside and made again, say), in which case the store switches to it
    // whole, reads, writes and lock alike, and the lookup is worth repeating.
    // Never while the lock is held: a change stays in the directory it locked.
    bool storeDirectoryMoved() {
        if (!store || held)
            return false;
        const Outcome<QString> name = work.findEntry(kDirectory);
        struct stat now;
        struct stat open;
        if (!name.ok() ||
            ::fstatat(AT_FDCWD, (work.path() + '/' + QFile::encodeName(name.value())).constData(),
                      &now, AT_SYMLINK_NOFOLLOW) != 0 ||
            ::fstat(storeDescriptor, &open) != 0 ||
            (now.st_ino == open.st_ino && now.st_dev == open.st_dev)) {
            return false;
        }
        closeStore();
        return storeDirectory().ok();
    }

    FoldedDirectory& requireStoreDirectory(const QString& operation, const QString& file) {
        return *take(storeDirectory(), operation, file);
    }

    // The bytes of a file, found again in the store directory when "QK" now
    // names another one.
    Outcome<QByteArray> readBytes(FoldedDirectory& directory, const QString& canonical,
                                  const QString& asked) {
        Outcome<QByteArray> bytes = directory.read(canonical, asked);
        if (bytes.error() == ENOENT && &directory == store.get() && storeDirectoryMoved())
            bytes = store->read(canonical, asked);
        return bytes;
    }

    // The plain text of a file, or why it cannot be had.
    Outcome<QString> tryReadText(FoldedDirectory& directory, const QString& canonical,
                                 const QString& asked) {
        const Outcome<QByteArray> bytes = readBytes(directory, canonical, asked);
        if (!bytes.ok())
            return bytes.failure();
        return storefiles::documentText(bytes.value());
    }

    // The plain text of a file. `shown` gives its name for messages; it is only
    // built when one is needed, since a sign-in reads every file of the store.
    template <typename Shown>
    QString readText(FoldedDirectory& directory, const QString& canonical, const QString& asked,
                     const Shown& shown) {
        const Outcome<QByteArray> bytes = readBytes(directory, canonical, asked);
        if (!bytes.ok())
            fail(QStringLiteral("read"), shown(), bytes.failure());
        Outcome<QString> text = storefiles::documentText(bytes.value());
        if (!text.ok())
            fail(QStringLiteral("read"), shown(), text.failure());
        return std::move(text.value());
    }

    // Writes a file; in the store directory under the lock, only while the lock
    // is still this copy's.
    void writeText(FoldedDirectory& directory, const QString& canonical, const QString& asked,
                   const QString& text, const QString& shown) {
        storefiles::BeforePublish stillHeld;
        if (held && &directory == store.get())
            stillHeld = [this] { return held->confirm(); };
        take(directory.replace(canonical, asked, rtf::write(text), stillHeld),
             QStringLiteral("write"), shown);
    }

    // The store's lock, held for one change; every change goes through `store`,
    // the directory it locked.
    class Held {
    public:
        Held(Impl& impl, StoreLock lock) : impl_(impl), lock_(std::move(lock)) {
            impl_.held = &lock_;
        }
        ~Held() { impl_.held = nullptr; }
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

    private:
        Impl& impl_;
        StoreLock lock_;
    };
    // The lock's entries are made as the store's files are, so that every player
    // of a group folder can take and break the lock.
    static LockModes lockModesOf(const storemodes::StoreModes& modes) {
        return LockModes{modes.file, modes.directory,
                         modes.shared && !modes.inherits ? modes.group : gid_t(-1)};
    }

    // What the store's folder asks of new files, read once for each change; the
    // first also asks what kind of disk it is, both questions in flight at once.
    void readFolder() {
        if (onFileServer) {
            modes = storemodes::modesFor(storeDescriptor);
            return;
        }
        bool remote = false;
        runInFlight(2, 2, [&](int i) {
            if (i == 0)
                modes = storemodes::modesFor(storeDescriptor);
            else
                remote = storefiles::isOnFileServer(storeDescriptor);
        });
        onFileServer = remote;
    }

    std::unique_ptr<Held> lockStore(const StoreLock::Alongside& alongside = {}) {
        // A change goes to the directory named "QK" now, and stays there to its end.
        storeDirectoryMoved();
        requireStoreDirectory(QStringLiteral("lock"), kDirectory);
        readFolder();
        StoreLock lock =
            take(StoreLock::take(storeDescriptor, lockWait, lockModesOf(modes), alongside),
                 QStringLiteral("lock"), kDirectory);
        // The copy whose dead lock was broken left its temporaries behind.
        const std::optional<temporaries::Owner> gone = lock.brokenOwner();
        auto locked = std::make_unique<Held>(*this, std::move(lock));
        if (gone)
            removeAbandonedTemporaries(gone);
        return locked;
    }

    void removeAbandonedTemporaries(const std::optional<temporaries::Owner>& gone) {
        const Outcome<QHash<QString, QStringList>> listed = store->listing();
        if (!listed.ok())
            return;
        QStringList names;
        for (const QStringList& spellings : listed.value())
            names += spellings;
        temporaries::removeAbandoned(storeDescriptor, names, gone);
    }

    QString readStoreFile(const QString& canonical, const QString& asked) {
        const auto shown = [&asked] { return kDirectory + u'/' + asked; };
        Outcome<FoldedDirectory*> directory = storeDirectory();
        if (!directory.ok())
            fail(QStringLiteral("read"), shown(), directory.failure());
        return readText(*directory.value(), canonical, asked, shown);
    }

    // Whether a counter that cannot be read is worth rebuilding: it is missing, or
    // its bytes are no document (empty, cut short). A counter the system refuses
    // to read would refuse the rebuilt one too.
    static bool isLost(const Failure& failure) {
        return failure.error == ENOENT || failure.error == 0;
    }

    void pause(int milliseconds) {
        if (lockWait.pause)
            lockWait.pause(milliseconds);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

    QString counterText() {
        requireStoreDirectory(QStringLiteral("read"), kCounterPath);
        for (int attempt = 0;; ++attempt) {
            const Outcome<QString> text = tryReadText(*store, kCounterName, kCounterName);
            if (text.ok())
                return text.value();
            if (!isLost(text.failure()))
                fail(QStringLiteral("read"), kCounterPath, text.failure());
            if (attempt == kCounterRereads)
                break;
            pause(kCounterRereadMs);
        }
        const auto locked = lockStore();
        return counterUnderLock();
    }

    // The counter, read while the lock is held; one that cannot be read even now
    // is no write under way but lost, and is rebuilt.
    QString counterUnderLock() {
        const Outcome<QString> text = tryReadText(*store, kCounterName, kCounterName);
        if (text.ok())
            return text.value();
        if (!isLost(text.failure()))
            fail(QStringLiteral("read"), kCounterPath, text.failure());
        const QString rebuilt = QString::number(usersOnDisk());
        writeText(*store, kCounterName, kCounterName, rebuilt, kCounterPath);
        notes += QStringLiteral(
                     "%1 could not be read (%2), so it was written again as %3, one "
                     "past the highest user with files.")
                     .arg(kCounterPath, text.failure().reason, rebuilt);
        return rebuilt;
    }

    // Whether `user` has any of its five files. A file that cannot be looked
    // for counts as none: a scan bounded by it would fail to read it all the same,
    // and must end rather than run on to a counter far beyond the files.
    bool hasFiles(std::int64_t user) {
        for (const Field field : kFields) {
            const Outcome<bool> there =
                store->has(storenames::writeName(field, user), storenames::readName(field, user));
            if (there.ok() && there.value())
                return true;
        }
        return false;
    }

    std::int64_t usersWithFiles(std::int64_t from, std::int64_t end) {
        if (from >= end || !storeDirectory().ok())
            return from;
        // Probes at from, from + 1, from + 3, from + 7, ... and end - 1; then the
        // highest probe with files and the probe after it bound a binary search.
        std::int64_t found = from - 1;
        std::int64_t missing = end;
        for (std::int64_t offset = 0;; offset = 2 * offset + 1) {
            const std::int64_t probe = offset >= end - 1 - from ? end - 1 : from + offset;
            if (hasFiles(probe)) {
                found = probe;
                missing = end;
            } else if (missing == end) {
                missing = probe;
            }
            if (probe == end - 1)
                break;
        }
        if (found < from)
            return from;
        if (missing <= found)
            missing = end;
        while (missing - found > 1) {
            const std::int64_t middle = found + (missing - found) / 2;
            (hasFiles(middle) ? found : missing) = middle;
        }
        return found + 1;
    }

    // What a lost counter is written again as: the rule of StoreInventory, over
    // a listing and over the users that probing by exact names finds beyond it.
    std::int64_t usersOnDisk() {
        FoldedDirectory& directory = requireStoreDirectory(QStringLiteral("list"), kDirectory);
        const std::int64_t listed =
            StoreInventory::of(take(directory.listing(), QStringLiteral("list"), kDirectory))
                .rebuiltCounter();
        return std::max(listed, usersWithFiles(listed, kProbeLimit));
    }

    // Gives the marker and the store what their folders ask for (see
    // storemodes.h), where they are this player's: the marker at every start, the
    // store's files once, while its directory is looser than it should be.
    void tightenModes() {
        struct stat folder;
        if (::stat(work.path().constData(), &folder) == 0) {
            storemodes::mendFile(AT_FDCWD, work.path() + '/' + QFile::encodeName(kCounterName),
                                 storemodes::modesOf(folder));
        }
        if (!storeDirectory().ok())
            return;
        const auto names = [this] {
            QList<QByteArray> encoded;
            const Outcome<QHash<QString, QStringList>> listed = store->listing();
            if (listed.ok()) {
                for (const QStringList& spellings : listed.value()) {
                    for (const QString& name : spellings)
                        encoded += QFile::encodeName(name);
                }
            }
            return encoded;
        };
        keepsModes = storemodes::mend(storeDescriptor, names,
                                      [this] { return readsInFlightFor(storeDescriptor); });
    }

    // Tells the player, once, who besides them can read the passwords: the
    // members of a group folder's group, or anyone who can read a disk that keeps
    // no Unix modes (FAT, exFAT, some shares), where nothing can change that.
    void checkPrivacy() {
        if (privacyTold || storeDescriptor < 0)
            return;
        const QString note = storemodes::privacyNote(storeDescriptor, keepsModes);
        if (note.isEmpty())
            return;
        privacyTold = true;
        notes += note;
    }

    // How many writes a registration keeps in flight: on a file server each waits
    // on the network, on a local disk they are quicker one after another.
    int writesInFlight() {
        if (!onFileServer)
            onFileServer = storefiles::isOnFileServer(storeDescriptor);
        return *onFileServer ? 12 : 1;
    }

    // The number the new user gets: the counter, read under the lock, unless the
    // files of the user after it show it fell behind (a copy held up past its
    // lock put an older one back), when it is raised past them first.
    std::int64_t numberForNewUser() {
        const QString counter = counterUnderLock();
        const std::optional<std::int64_t> user = userCountOf(counter);
        if (!user)
            throw StoreError(notAUserCount(counter));
        const Outcome<bool> ahead = store->has(storenames::writeName(Field::Name, *user + 1),
                                               storenames::writeName(Field::Name, *user + 1));
        if (!ahead.ok() || !ahead.value())
            return *user;
        const std::int64_t users = usersWithFiles(*user + 1, kProbeLimit);
        writeText(*store, kCounterName, kCounterName, QString::number(users), kCounterPath);
        notes +=
            QStringLiteral("%1 said %2, though users up to %3 have files, so it was raised to %4.")
                .arg(kCounterPath, counter)
                .arg(users - 1)
                .arg(users);
        return users;
    }

    // One file of a registration on its way into the store.
    struct Piece {
        QString shown;  // its path as the player knows it
        QByteArray name;
        QByteArray data;
        Outcome<QByteArray> temporary = QByteArray();  // the counter's, until in place
    };

    // A registration on its way in: the counter's raise written as a temporary,
    // the user's files still to write.
    struct Batch {
        std::int64_t user = -1;                        // none yet
        std::array<Piece, kFields.size() + 1> pieces;  // the user's files, then the counter
        QList<QByteArray> leftovers;                   // spellings an interrupted registration left
        std::optional<std::pair<QString, Failure>> fault;  // the first that failed, and why
        int unfilled = -1;  // the counter's temporary while made but not yet written

        // Removes the temporary, unless it went in place.
        void discard(int directory) {
            if (unfilled >= 0)
                ::close(std::exchange(unfilled, -1));
            Outcome<QByteArray>& temporary = pieces.back().temporary;
            if (temporary.ok() && !temporary.value().isEmpty())
                ::unlinkat(directory, temporary.value().constData(), 0);
            temporary = QByteArray();
        }
    };

    // Readies a registration of `fields` as `user`, in one batch whose waits all
    // overlap on a file server: the counter raised past it written as a
    // temporary (or, when `blank` was made for it, left to be written in flight
    // with the user's files), looks for the spellings sign-in asks for that an
    // interrupted registration of this number may have left (the writer's
    // spelling, should one stand, is found when the file is written), and unless
    // `counterName` is known, the counter's name on disk. With `checkNext`, a
    // batch is readied only when no files of the next number say the counter
    // stands behind them. Changes nothing else in the store; never throws.
    Batch readyBatch(const UserFields& fields, std::int64_t user,
                     Outcome<QString> counterName = Failure{},
                     const Outcome<storefiles::BlankTemporary>* blank = nullptr,
                     bool checkNext = false) {
        Batch batch;
        batch.user = user;
        auto& pieces = batch.pieces;
        QList<QByteArray> asked;
        for (std::size_t i = 0; i < kFields.size(); ++i) {
            const QString name = storenames::writeName(kFields[i], user);
            pieces[i] = {kDirectory + u'/' + name, QFile::encodeName(name),
                         rtf::write(valueOf(fields, kFields[i])), QByteArray()};
            if (const QString read = storenames::readName(kFields[i], user); read != name)
                asked += QFile::encodeName(read);
        }
        Piece& counter = pieces.back();
        counter = {kCounterPath, QFile::encodeName(kCounterName),
                   rtf::write(QString::number(user + 1)), QByteArray()};
        std::array<int, kFields.size()> looks{};
        const bool nameKnown = counterName.ok();
        const QString next = storenames::writeName(Field::Name, user + 1);
        Outcome<bool> ahead = false;
        runInFlight(3 + int(asked.size()), writesInFlight(), [&](int i) {
            struct stat info;
            if (i == 0) {
                if (!blank) {
                    counter.temporary = storefiles::writeTemporary(storeDescriptor, counter.name,
                                                                   counter.data, modes);
                } else if (blank->ok()) {
                    // Written in flight with the user's files, under the lock.
                    counter.temporary = blank->value().name;
                    batch.unfilled = blank->value().fd;
                } else {
                    counter.temporary = blank->failure();
                }
            } else if (i == 1) {
                if (!nameKnown)
                    counterName = store->replaceTarget(kCounterName, kCounterName);
            } else if (i == 2) {
                if (checkNext)
                    ahead = store->has(next, next);
            } else {
                const QByteArray& name = asked[i - 3];
                const bool there =
                    ::fstatat(storeDescriptor, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
                looks[std::size_t(i - 3)] = there ? EEXIST : errno;
            }
        });
        if (!ahead.ok() || ahead.value()) {
            // Files beyond the counter: what the number is, is settled under the lock.
            batch.discard(storeDescriptor);
            return Batch();
        }
        for (qsizetype i = 0; i < asked.size(); ++i) {
            if (looks[std::size_t(i)] == EEXIST) {
                batch.leftovers += asked[i];
            } else if (looks[std::size_t(i)] != ENOENT && !batch.fault) {
                batch.fault = {kDirectory + u'/' + QFile::decodeName(asked[i]),
                               Failure::ofErrno(looks[std::size_t(i)])};
            }
        }
        if (!counter.temporary.ok() && !batch.fault)
            batch.fault = {counter.shown, counter.temporary.failure()};
        if (!counterName.ok() && !batch.fault)
            batch.fault = {kCounterPath, counterName.failure()};
        if (counterName.ok())
            counter.name = QFile::encodeName(counterName.value());
        return batch;
    }

    // The part of a registration that can be done while the lock's token goes in,
    // which counts once the lock is then this copy's: the counter read and, when
    // it stands where the files say, the batch readied. Changes nothing in the
    // store; never throws. Anything out of the ordinary is left for under the lock.
    void prepare(const UserFields& fields, Batch& batch) {
        batch.discard(storeDescriptor);
        batch = Batch();
        // The counter by its own name first, which then needs no looking for,
        // while the temporary for its raise is made, to be written once the
        // count is known.
        const QByteArray counterName = QFile::encodeName(kCounterName);
        Outcome<QString> name = kCounterName;
        Outcome<QByteArray> bytes = Failure{};
        Outcome<storefiles::BlankTemporary> blank = Failure{};
        runInFlight(2, writesInFlight(), [&](int i) {
            if (i == 0)
                bytes = storefiles::readFileAt(storeDescriptor, counterName);
            else
                blank = storefiles::makeTemporary(storeDescriptor, counterName, modes);
        });
        if (!bytes.ok()) {
            name = Failure{};
            bytes = store->read(kCounterName, kCounterName);
        }
        const Outcome<QString> text = bytes.ok() ? storefiles::documentText(bytes.value())
                                                 : Outcome<QString>(bytes.failure());
        const std::optional<std::int64_t> user =
            text.ok() ? userCountOf(text.value()) : std::nullopt;
        if (!user) {
            if (blank.ok())
                storefiles::dropTemporary(storeDescriptor, blank.value());
            return;
        }
        batch = readyBatch(fields, *user, name, &blank, true);
    }

    // Writes the new user's files and the raised counter, under the lock: the
    // counter as a temporary first (unless `batch` holds it already), then the
    // user's files once the lock is proven still this copy's, the counter last.
    // After a fault there, or a hold-up that may have cost the lock, looks again
    // at what is on disk before saying anything.
    QString registerUnderLock(const UserFields& fields, Batch& batch) {
        if (batch.user < 0)
            batch = readyBatch(fields, numberForNewUser());
        for (const QByteArray& leftover : batch.leftovers) {
            if (::unlinkat(storeDescriptor, leftover.constData(), 0) != 0 && errno != ENOENT &&
                !batch.fault) {
                batch.fault = {kDirectory + u'/' + QFile::decodeName(leftover),
                               Failure::ofErrno(errno)};
            }
        }
        if (batch.fault) {
            batch.discard(storeDescriptor);
            fail(QStringLiteral("write"), batch.fault->first, batch.fault->second);
        }
        std::optional<std::pair<QString, Failure>> fault = publishAll(batch);
        batch.discard(storeDescriptor);
        if (!fault && !held->mayHaveLapsed())
            return QString::number(batch.user + 1);
        return lookAgain(batch.user, fields, fault);
    }

    // Writes the user's files and puts the counter in place; the first fault, and
    // its file. The user's files are written under their own names: no reader
    // opens them before the counter counts them, and it goes in place after they
    // are whole and flushed.
    std::optional<std::pair<QString, Failure>> publishAll(Batch& batch) {
        auto& pieces = batch.pieces;
        Piece& counter = pieces.back();
        std::array<Outcome<>, kFields.size()> written;
        std::array<bool, kFields.size()> due;
        due.fill(true);
        Outcome<> mine;
        Outcome<QByteArray> filled = counter.temporary;
        const auto writeDue = [&](bool confirming) {
            runInFlight(int(kFields.size()) + 2, writesInFlight(), [&](int i) {
                if (std::size_t(i) == kFields.size()) {
                    if (confirming)
                        mine = held->confirm();
                    return;
                }
                if (std::size_t(i) == kFields.size() + 1) {
                    if (batch.unfilled >= 0) {
                        const storefiles::BlankTemporary blank{counter.temporary.value(),
                                                               std::exchange(batch.unfilled, -1)};
                        filled =
                            storefiles::fillTemporary(storeDescriptor, blank, counter.data, modes);
                    }
                    return;
                }
                const Piece& piece = pieces[std::size_t(i)];
                if (due[std::size_t(i)])
                    written[std::size_t(i)] =
                        storefiles::writeNew(storeDescriptor, piece.name, piece.data, modes);
            });
        };
        // The lock proven still this copy's in flight with the writes: one that
        // lost it meanwhile only made files no other copy's were under (those are
        // refused), and learns so before anything counts them. A copy whose clock
        // says it may have been held up proves it first: where a client's
        // exclusive create is not exclusive (smbnetfs), a late write could land
        // in another copy's file.
        const bool confirmFirst = held->mayHaveLapsed();
        if (confirmFirst)
            mine = held->confirm();
        if (mine.ok())
            writeDue(!confirmFirst);
        if (!filled.ok()) {
            counter.temporary = QByteArray();  // nothing of it is left
            return std::pair{counter.shown, filled.failure()};
        }
        if (!mine.ok())
            return std::pair{pieces.front().shown, mine.failure()};
        for (std::size_t i = 0; i < kFields.size(); ++i)
            due[i] = written[i].error() == EEXIST;
        // A file already there is an interrupted registration's, unless the
        // number went to another copy meanwhile: that is asked once, then they go.
        if (std::find(due.begin(), due.end(), true) != due.end()) {
            if (const Outcome<> mine = held->confirm(); !mine.ok())
                return std::pair{pieces.front().shown, mine.failure()};
            const Outcome<QString> now = tryReadText(*store, kCounterName, kCounterName);
            const std::optional<std::int64_t> count =
                now.ok() ? userCountOf(now.value()) : std::nullopt;
            for (std::size_t i = 0; i < kFields.size(); ++i) {
                if (!due[i])
                    continue;
                if (!count || *count > batch.user) {
                    return std::pair{pieces[i].shown,
                                     Failure{EEXIST, QStringLiteral("another copy of the game "
                                                                    "wrote it meanwhile")}};
                }
                if (::unlinkat(storeDescriptor, pieces[i].name.constData(), 0) != 0)
                    return std::pair{pieces[i].shown, Failure::ofErrno(errno)};
            }
            writeDue(false);
        }
        for (std::size_t i = 0; i < kFields.size(); ++i) {
            if (!written[i].ok())
                return std::pair{pieces[i].shown, written[i].failure()};
        }
        Outcome<> step = storefiles::syncDirectory(storeDescriptor);
        if (step.ok())
            step = held->confirm();
        if (step.ok())
            step = storefiles::publish(storeDescriptor, counter.temporary.value(), counter.name);
        if (step.ok()) {
            counter.temporary = QByteArray();
            step = storefiles::syncDirectory(storeDescriptor);
        }
        if (!step.ok())
            return std::pair{counter.shown, step.failure()};
        return std::nullopt;
    }

    // What a registration of `fields` as `user` left on disk, seen under the
    // lock, taken again when it was lost: the account made, and so reported, or
    // nothing of it left and the counter as it was.
    QString lookAgain(std::int64_t user, const UserFields& fields,
                      const std::optional<std::pair<QString, Failure>>& fault) {
        std::unique_ptr<Held> relocked;
        if (!held || !held->confirm().ok())
            relocked = lockStore();
        std::optional<std::int64_t> count = userCountOf(counterUnderLock());
        // This copy's own late counter, put in place after others had counted on,
        // may have put back a lower count: files at the counter's number say so.
        if (count && *count > user) {
            const QString next = storenames::writeName(Field::Name, *count);
            const Outcome<bool> beyond = store->has(next, next);
            if (beyond.ok() && beyond.value()) {
                const std::int64_t users = usersWithFiles(*count, kProbeLimit);
                writeText(*store, kCounterName, kCounterName, QString::number(users), kCounterPath);
                notes +=
                    QStringLiteral("%1 said %2 though user %2 has files, so it was raised to %3.")
                        .arg(kCounterPath)
                        .arg(*count)
                        .arg(users);
                count = users;
            }
        }
        std::array<bool, kFields.size()> ours{};
        for (std::size_t i = 0; i < kFields.size(); ++i) {
            const QString name = storenames::writeName(kFields[i], user);
            const Outcome<QString> text = tryReadText(*store, name, name);
            ours[i] = text.ok() && text.value() == valueOf(fields, kFields[i]);
        }
        const bool made = std::all_of(ours.begin(), ours.end(), [](bool mine) { return mine; });
        if (made && count && *count <= user)
            writeText(*store, kCounterName, kCounterName, QString::number(user + 1), kCounterPath);
        if (made && count)
            return QString::number(user + 1);
        if (!count || *count <= user) {
            // Not counted: what this registration put in place goes with it.
            for (std::size_t i = 0; i < kFields.size(); ++i) {
                if (ours[i]) {
                    ::unlinkat(
                        storeDescriptor,
                        QFile::encodeName(storenames::writeName(kFields[i], user)).constData(), 0);
                }
            }
        }
        if (fault)
            fail(QStringLiteral("write"), fault->first, fault->second);
        fail(
            QStringLiteral("write"), kDirectory + u'/' + storenames::writeName(Field::Name, user),
            Failure{0, QStringLiteral("another copy of the game took the store over while this one "
                                      "was held up; the account was not added")});
    }

    QString workingDirectory;
    FoldedDirectory work;
    int storeDescriptor = -1;
    std::unique_ptr<FoldedDirectory> store;
    LockWait lockWait;
    StoreLock* held = nullptr;
    std::optional<bool> onFileServer;
    QStringList notes;
    bool privacyTold = false;
    bool keepsModes = true;        // no: mending found the store's disk keeps no modes
    storemodes::StoreModes modes;  // what the folder asks of new files, read at the lock
};

AccountStore::AccountStore(QString workingDirectory)
    : impl_(std::make_unique<Impl>(std::move(workingDirectory))) {}

AccountStore::~AccountStore() = default;

bool AccountStore::isFirstRun() const {
    impl_->tightenModes();
    impl_->checkPrivacy();
    return impl_->readText(impl_->work, kCounterName, kCounterName, [] { return kCounterName; }) ==
           u"0";
}

void AccountStore::setUp() {
    const QString createDirectory = QStringLiteral("create directory");
    FoldedDirectory& work = impl_->work;
    const Outcome<QString> existing = work.findEntry(kDirectory);
    if (!existing.ok() && existing.error() != ENOENT)
        fail(createDirectory, kDirectory, existing.failure());
    const QByteArray path =
        work.path() + '/' + QFile::encodeName(existing.ok() ? existing.value() : kDirectory);
    struct stat info;
    if (!existing.ok()) {
        // Another copy starting at the same moment may have made it meanwhile.
        const Outcome<> made = storefiles::makeDirectory(path);
        if (!made.ok() && !(made.error() == EEXIST && ::lstat(path.constData(), &info) == 0 &&
                            S_ISDIR(info.st_mode))) {
            fail(createDirectory, kDirectory, made.failure());
        }
    } else if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        fail(createDirectory, kDirectory, Failure::ofErrno(EEXIST));
    }
    // The whole set-up runs under the store's lock, so a copy registering at this
    // moment cannot have its counter reset, and two copies starting together set
    // the store up once.
    const auto locked = impl_->lockStore();
    if (impl_->readText(work, kCounterName, kCounterName, [] { return kCounterName; }) != u"0")
        return;
    FoldedDirectory& store = *impl_->store;
    const StoreInventory inventory =
        StoreInventory::of(take(store.listing(), QStringLiteral("list"), kDirectory));
    impl_->removeAbandonedTemporaries(std::nullopt);
    // A missing counter is rebuilt; an existing one, damaged or not, is kept.
    if (inventory.counterNames().isEmpty()) {
        impl_->writeText(store, kCounterName, kCounterName, QString::number(impl_->usersOnDisk()),
                         kCounterPath);
    }
    impl_->writeText(work, kCounterName, kCounterName, QStringLiteral("1"), kCounterName);
    impl_->checkPrivacy();
}

QString AccountStore::loadCounterText() const {
    return impl_->counterText();
}

std::optional<std::int64_t> AccountStore::userCountOf(QStringView counterText) {
    const std::optional<std::int64_t> count = readNumberStrictly(counterText);
    // A negative count is as damaged as a word; the largest number leaves no
    // number for the next user.
    if (!count || *count < 0 || *count == std::numeric_limits<std::int64_t>::max())
        return std::nullopt;
    return count;
}

QString AccountStore::notAUserCount(const QString& counterText) {
    return QStringLiteral("%1 holds %2, which is not a user count")
        .arg(kCounterPath, quoted(counterText));
}

std::int64_t AccountStore::loadUserCount() const {
    const QString text = loadCounterText();
    const std::optional<std::int64_t> count = userCountOf(text);
    if (!count)
        throw StoreError(notAUserCount(text));
    return *count;
}

std::int64_t AccountStore::usersWithFiles(std::int64_t from, std::int64_t end) const {
    return impl_->usersWithFiles(from, end);
}

QString AccountStore::readField(Field field, std::int64_t user) const {
    return impl_->readStoreFile(storenames::writeName(field, user),
                                storenames::readName(field, user));
}

UserScan AccountStore::scanUsers(QList<Field> fields, std::int64_t end) const {
    const bool open = impl_->storeDirectory().ok();
    const int directory = open ? impl_->storeDescriptor : -1;
    return UserScan(*this, std::move(fields), end, directory, readsInFlightFor(directory));
}

QStringList AccountStore::takeNotes() {
    return std::exchange(impl_->notes, {});
}

void AccountStore::setLockWait(LockWait wait) {
    impl_->lockWait = std::move(wait);
}

QString AccountStore::registerUser(const UserFields& fields) {
    // A file no reader takes back would lock every player out at the next sign-in.
    if (const std::optional<qsizetype> tooLong = valueTooLong(fields)) {
        throw StoreError(
            QStringLiteral("Cannot register: a value of %1 characters is too long to be read back")
                .arg(*tooLong));
    }
    Impl::Batch batch;
    // Whatever way this ends, no temporary of it stays behind.
    const std::unique_ptr<Impl::Batch, std::function<void(Impl::Batch*)>> discard(
        &batch, [this](Impl::Batch* left) { left->discard(impl_->storeDescriptor); });
    const auto locked = impl_->lockStore([&] { impl_->prepare(fields, batch); });
    return impl_->registerUnderLock(fields, batch);
}

void testhooks::setReadsInFlight(int reads) {
    readsInFlight.store(reads);
}

}  // namespace mindlark
