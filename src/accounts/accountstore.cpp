#include "accounts/accountstore.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
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

    void writeText(FoldedDirectory& directory, const QString& canonical, const QString& text,
                   const QString& shown) {
        take(directory.replace(canonical, rtf::write(text)), QStringLiteral("write"), shown);
    }

    QString readStoreFile(const QString& canonical, const QString& asked) {
        const auto shown = [&asked] { return kDirectory + u'/' + asked; };
        Outcome<FoldedDirectory*> directory = storeDirectory();
        if (!directory.ok())
            fail(QStringLiteral("read"), shown(), directory.failure());
        return readText(*directory.value(), canonical, asked, shown);
    }

    void writeStoreFile(const QString& canonical, const QString& text) {
        const QString shown = kDirectory + u'/' + canonical;
        writeText(requireStoreDirectory(QStringLiteral("write"), shown), canonical, text, shown);
    }

    QString workingDirectory;
    FoldedDirectory work;
    std::unique_ptr<FoldedDirectory> store;
    QString storeName;
    std::map<QString, std::unique_ptr<FoldedDirectory>> others;
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
    impl_->writeText(*directory, storenames::canonicalCase(fileName), text, path);
}

bool AccountStore::isFirstRun() const {
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
        if (!made.ok() && !(made.error() == EEXIST && ::stat(path.constData(), &info) == 0 &&
                            S_ISDIR(info.st_mode))) {
            fail(createDirectory, kDirectory, made.failure());
        }
    } else if (::stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        fail(createDirectory, kDirectory, Failure::ofErrno(EEXIST));
    }
    {
        FoldedDirectory& store =
            impl_->requireStoreDirectory(QStringLiteral("write"), kCounterPath);
        // Under the lock, so a copy registering at this moment cannot have its
        // counter reset to "0"; an existing counter, damaged or not, is kept.
        const StoreLock lock =
            take(StoreLock::take(store.path()), QStringLiteral("lock"), kDirectory);
        if (!take(store.contains(kCounterName), QStringLiteral("write"), kCounterPath))
            impl_->writeText(store, kCounterName, QStringLiteral("0"), kCounterPath);
    }
    impl_->writeText(work, kCounterName, QStringLiteral("1"), kCounterName);
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

QString AccountStore::registerUser(const UserFields& fields) {
    FoldedDirectory& store = impl_->requireStoreDirectory(QStringLiteral("lock"), kDirectory);
    const StoreLock lock = take(StoreLock::take(store.path()), QStringLiteral("lock"), kDirectory);
    // Another copy may have registered since this one last looked, so the number
    // comes from the disk, never from memory.
    const std::int64_t user = loadUserCount();
    const QString* values[] = {&fields.name, &fields.age, &fields.email, &fields.userName,
                               &fields.password};
    for (std::size_t i = 0; i < kFields.size(); ++i)
        impl_->writeStoreFile(storenames::writeName(kFields[i], user), *values[i]);
    const QString raised = QString::number(user + 1);
    impl_->writeStoreFile(kCounterName, raised);
    return raised;
}

}  // namespace mindlark
