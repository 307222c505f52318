#include "accounts/accountstore.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <limits>
#include <map>

#include "accounts/foldeddirectory.h"
#include "accounts/storeerror.h"
#include "accounts/storefiles.h"
#include "accounts/storelock.h"
#include "accounts/storenames.h"
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
    throw StoreError(QStringLiteral("Cannot %1 %2: %3").arg(operation, file, failure.reason));
}

template <typename T>
T take(Outcome<T> outcome, const QString& operation, const QString& file) {
    if (!outcome.ok())
        fail(operation, file, outcome.failure());
    return std::move(outcome.value());
}

// One past the highest user number with any file in a listing of the store directory.
std::int64_t usersIn(const QHash<QString, QStringList>& listing) {
    std::int64_t users = 0;
    for (auto it = listing.cbegin(); it != listing.cend(); ++it) {
        const auto parsed = storenames::parse(it.value().first());
        if (parsed && !parsed->isCounter &&
            parsed->user < std::numeric_limits<std::int64_t>::max() - 1) {
            users = std::max(users, parsed->user + 1);
        }
    }
    return users;
}

}  // namespace

class AccountStore::Impl {
public:
    explicit Impl(QString directory)
        : workingDirectory(std::move(directory)),
          work(QFile::encodeName(QDir(workingDirectory).absolutePath())) {}

    // The store directory, found regardless of case and cached.
    Outcome<FoldedDirectory*> storeDirectory() {
        if (store)
            return store.get();
        Outcome<QString> name = work.findEntry(kDirectory);
        if (!name.ok())
            return name.failure();
        storeName = name.value();
        store = std::make_unique<FoldedDirectory>(work.path() + '/' + QFile::encodeName(storeName));
        return store.get();
    }

    // After a miss: whether the store directory now goes by another name (it was
    // removed and made again, say), in which case the lookup is worth repeating.
    bool storeDirectoryMoved() {
        const Outcome<QString> name = work.findEntry(kDirectory);
        if (!name.ok() || name.value() == storeName)
            return false;
        store.reset();
        return storeDirectory().ok();
    }

    FoldedDirectory& requireStoreDirectory(const QString& operation, const QString& file) {
        return *take(storeDirectory(), operation, file);
    }

    // The directory a relative path names and the file name within it; every
    // directory on the way is matched regardless of case.
    std::pair<FoldedDirectory*, QString> locate(const QString& relativePath,
                                                const QString& operation) {
        QStringList parts = relativePath.split(u'/');
        const QString fileName = parts.takeLast();
        const Failure outside{0, QStringLiteral("not a path inside the store")};
        if (fileName.isEmpty() || QDir::isAbsolutePath(relativePath))
            fail(operation, relativePath, outside);
        for (const QString& part : parts + QStringList{fileName}) {
            if (part.isEmpty() || part == u"." || part == u"..")
                fail(operation, relativePath, outside);
        }
        if (parts.isEmpty())
            return {&work, fileName};
        if (parts.size() == 1 && storenames::folded(parts[0]) == storenames::folded(kDirectory)) {
            return {&requireStoreDirectory(operation, relativePath), fileName};
        }
        // Other directories below the working directory: resolved one level at a time.
        FoldedDirectory* directory = &work;
        QString key;
        for (const QString& part : parts) {
            key += u'/' + storenames::folded(part);
            auto& cached = others[key];
            if (!cached) {
                const QString name = take(directory->findEntry(part), operation, relativePath);
                cached = std::make_unique<FoldedDirectory>(directory->path() + '/' +
                                                           QFile::encodeName(name));
            }
            directory = cached.get();
        }
        return {directory, fileName};
    }

    // The plain text of a file. `shown` gives its name for messages; it is only
    // built when one is needed, since a sign-in reads every file of the store.
    template <typename Shown>
    QString readText(FoldedDirectory& directory, const QString& canonical, const QString& asked,
                     const Shown& shown) {
        Outcome<QByteArray> bytes = directory.read(canonical, asked);
        if (bytes.error() == ENOENT && &directory == store.get() && storeDirectoryMoved())
            bytes = store->read(canonical, asked);
        if (!bytes.ok())
            fail(QStringLiteral("read"), shown(), bytes.failure());
        Outcome<QString> text = storefiles::documentText(bytes.value());
        if (!text.ok())
            fail(QStringLiteral("read"), shown(), text.failure());
        return std::move(text.value());
    }

    void writeText(FoldedDirectory& directory, const QString& canonical, const QString& asked,
                   const QString& text, const QString& shown) {
        take(directory.replace(canonical, asked, rtf::write(text)), QStringLiteral("write"), shown);
    }

    // The store directory, locked, and a view of it through the locked descriptor,
    // so every read and write of a change goes to the directory that is locked.
    struct Locked {
        StoreLock lock;
        FoldedDirectory directory;
    };
    std::unique_ptr<Locked> lockStore() {
        const QByteArray path = requireStoreDirectory(QStringLiteral("lock"), kDirectory).path();
        StoreLock lock = take(StoreLock::take(path, lockWait), QStringLiteral("lock"), kDirectory);
        const int descriptor = lock.descriptor();
        auto locked =
            std::make_unique<Locked>(Locked{std::move(lock), FoldedDirectory(path, descriptor)});
        locked->directory.takeIndexFrom(*store);
        return locked;
    }

    QString readStoreFile(const QString& canonical, const QString& asked) {
        const auto shown = [&asked] { return kDirectory + u'/' + asked; };
        Outcome<FoldedDirectory*> directory = storeDirectory();
        if (!directory.ok())
            fail(QStringLiteral("read"), shown(), directory.failure());
        return readText(*directory.value(), canonical, asked, shown);
    }

    // Makes the player's own store private again when it is looser: the marker
    // 0600, the store directory 0700 and, when the directory was open to others,
    // every file in it 0600. Best effort: what cannot be changed is left as it is.
    void tightenModes() {
        const uid_t player = ::geteuid();
        const auto tighten = [player](int at, const QByteArray& name, mode_t mode) {
            const int fd =
                ::openat(at, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0)
                return false;
            struct stat info;
            bool loosened = false;
            if (::fstat(fd, &info) == 0 && info.st_uid == player && (info.st_mode & 077) != 0 &&
                (S_ISDIR(info.st_mode) ? mode == 0700 : S_ISREG(info.st_mode))) {
                loosened = ::fchmod(fd, mode) == 0;
            }
            ::close(fd);
            return loosened;
        };
        tighten(AT_FDCWD, work.path() + '/' + QFile::encodeName(kCounterName), 0600);
        Outcome<FoldedDirectory*> directory = storeDirectory();
        if (!directory.ok() || !tighten(AT_FDCWD, directory.value()->path(), 0700))
            return;
        // Only a directory that was open to others makes its files worth a listing.
        const Outcome<int> opened = storefiles::openDirectory(AT_FDCWD, directory.value()->path());
        if (!opened.ok())
            return;
        FoldedDirectory through(directory.value()->path(), opened.value());
        const Outcome<QHash<QString, QStringList>> listed = through.listing();
        if (listed.ok()) {
            for (const QStringList& names : listed.value()) {
                for (const QString& name : names)
                    tighten(opened.value(), QFile::encodeName(name), 0600);
            }
        }
        ::close(opened.value());
    }

    QString workingDirectory;
    FoldedDirectory work;
    std::unique_ptr<FoldedDirectory> store;
    QString storeName;
    std::map<QString, std::unique_ptr<FoldedDirectory>> others;
    LockWait lockWait;
};

AccountStore::AccountStore(QString workingDirectory)
    : impl_(std::make_unique<Impl>(std::move(workingDirectory))) {}

AccountStore::~AccountStore() = default;

const QString& AccountStore::workingDirectory() const {
    return impl_->workingDirectory;
}

QString AccountStore::numberLabel(std::int64_t user) {
    return numberText(user);
}

QString AccountStore::writePath(Field field, std::int64_t user) {
    return kDirectory + u'/' + storenames::writeName(field, user);
}

QString AccountStore::readPath(Field field, std::int64_t user) {
    return kDirectory + u'/' + storenames::readName(field, user);
}

QString AccountStore::load(const QString& relativePath) const {
    QString path = relativePath;
    path.replace(u'\\', u'/');
    const auto [directory, fileName] = impl_->locate(path, QStringLiteral("read"));
    return impl_->readText(*directory, storenames::canonicalCase(fileName), fileName,
                           [&path] { return path; });
}

void AccountStore::save(const QString& relativePath, const QString& text) const {
    QString path = relativePath;
    path.replace(u'\\', u'/');
    const auto [directory, fileName] = impl_->locate(path, QStringLiteral("write"));
    if (directory != impl_->store.get()) {
        impl_->writeText(*directory, storenames::canonicalCase(fileName), fileName, text, path);
        return;
    }
    const auto locked = impl_->lockStore();
    impl_->writeText(locked->directory, storenames::canonicalCase(fileName), fileName, text, path);
}

bool AccountStore::isFirstRun() const {
    impl_->tightenModes();
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
    FoldedDirectory& store = locked->directory;
    const Outcome<QHash<QString, QStringList>> listed = store.listing();
    if (!listed.ok())
        fail(QStringLiteral("list"), kDirectory, listed.failure());
    bool hasCounter = false;
    for (auto it = listed.value().cbegin(); it != listed.value().cend(); ++it) {
        for (const QString& name : it.value()) {
            // Temporaries under the lock belong to writes that died.
            if (storefiles::isTemporaryName(name))
                ::unlinkat(locked->lock.descriptor(), QFile::encodeName(name).constData(), 0);
        }
        const auto parsed = storenames::parse(it.value().first());
        hasCounter = hasCounter || (parsed && parsed->isCounter);
    }
    const std::int64_t users = usersIn(listed.value());
    // A counter lower than the users on disk would hand their numbers out again,
    // so a missing one is rebuilt as one past the highest user with any file; an
    // existing counter, damaged or not, is kept.
    if (!hasCounter) {
        impl_->writeText(store, kCounterName, kCounterName, QString::number(users), kCounterPath);
    }
    impl_->writeText(work, kCounterName, kCounterName, QStringLiteral("1"), kCounterName);
}

bool AccountStore::runFirstRunSetup() {
    if (!isFirstRun())
        return false;
    setUp();
    return true;
}

QString AccountStore::loadCounterText() const {
    return impl_->readStoreFile(kCounterName, kCounterName);
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

std::int64_t AccountStore::usersOnDisk() const {
    FoldedDirectory& store = impl_->requireStoreDirectory(QStringLiteral("list"), kDirectory);
    return usersIn(take(store.listing(), QStringLiteral("list"), kDirectory));
}

Credentials AccountStore::readCredentials(std::int64_t user) const {
    Credentials credentials;
    credentials.userName = readField(Field::UserName, user);
    credentials.password = readField(Field::Password, user);
    return credentials;
}

QString AccountStore::readField(Field field, std::int64_t user) const {
    return impl_->readStoreFile(storenames::writeName(field, user),
                                storenames::readName(field, user));
}

void AccountStore::setLockWait(LockWait wait) {
    impl_->lockWait = std::move(wait);
}

QString AccountStore::registerUser(const UserFields& fields) {
    const QString* values[] = {&fields.name, &fields.age, &fields.email, &fields.userName,
                               &fields.password};
    // A file no reader takes back would lock every player out at the next sign-in.
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (!rtf::fitsInDocument(*values[i])) {
            throw StoreError(QStringLiteral("Cannot register: a value of %1 characters is too "
                                            "long to be read back")
                                 .arg(values[i]->size()));
        }
    }
    const auto locked = impl_->lockStore();
    FoldedDirectory& store = locked->directory;
    // Another copy may have registered since this one last looked, so the number
    // comes from the disk, never from memory.
    const QString counter =
        impl_->readText(store, kCounterName, kCounterName, [] { return kCounterPath; });
    const std::optional<std::int64_t> user = userCountOf(counter);
    if (!user)
        throw StoreError(notAUserCount(counter));
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const QString name = storenames::writeName(kFields[i], *user);
        impl_->writeText(store, name, storenames::readName(kFields[i], *user), *values[i],
                         kDirectory + u'/' + name);
    }
    const QString raised = QString::number(*user + 1);
    impl_->writeText(store, kCounterName, kCounterName, raised, kCounterPath);
    return raised;
}

}  // namespace mindlark
