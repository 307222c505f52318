#include "accounts/accountstore.h"

#include "accounts/foldeddirectory.h"
#include "accounts/numbers.h"
#include "rtf/rtf.h"
#include "accounts/storeerror.h"
#include "accounts/storelock.h"
#include "accounts/storenames.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <sys/stat.h>
#include <cerrno>
#include <limits>
#include <map>

namespace mindlark {

namespace {

const QString kDirectory = QString::fromUtf16(storenames::kDirectory);
const QString kCounterName = QString::fromUtf16(storenames::kCounterName);
const QString kCounterPath = QString::fromUtf16(storenames::kCounterPath);

[[noreturn]] void fail(const QString& operation, const QString& file, const QString& reason) {
    throw StoreError(QStringLiteral("Cannot %1 %2: %3").arg(operation, file, reason));
}

// A damaged counter may hold anything; the message quotes only its start.
QString quoted(const QString& text) {
    constexpr qsizetype kShown = 40;
    QString shown = text.left(kShown);
    shown.replace(u'\r', u' ').replace(u'\n', u' ');
    return u'"' + shown + (text.size() > kShown ? QStringLiteral("...\"") : QStringLiteral("\""));
}

}  // namespace

class AccountStore::Impl {
public:
    explicit Impl(QString directory)
        : workingDirectory(std::move(directory)),
          work(QFile::encodeName(QDir(workingDirectory).absolutePath())) {}

    // The store directory, found regardless of case and cached; nullptr and
    // `error` set when there is none.
    FoldedDirectory* storeDirectory(int* error) {
        if (store)
            return store.get();
        const auto name = work.findEntry(kDirectory, error);
        if (!name)
            return nullptr;
        storeName = *name;
        store = std::make_unique<FoldedDirectory>(work.path() + '/' + QFile::encodeName(*name));
        return store.get();
    }

    // After a miss: whether the store directory now goes by another name (it was
    // removed and made again, say), in which case the lookup is worth repeating.
    bool storeDirectoryMoved() {
        int error = 0;
        const auto name = work.findEntry(kDirectory, &error);
        if (!name || *name == storeName)
            return false;
        store.reset();
        return storeDirectory(&error) != nullptr;
    }

    FoldedDirectory& requireStoreDirectory(const QString& operation, const QString& file) {
        int error = 0;
        FoldedDirectory* directory = storeDirectory(&error);
        if (!directory)
            fail(operation, file, qt_error_string(error));
        return *directory;
    }

    // The directory a relative path names and the file name within it; every
    // directory on the way is matched regardless of case.
    std::pair<FoldedDirectory*, QString> locate(const QString& relativePath,
                                                const QString& operation) {
        QStringList parts = relativePath.split(u'/');
        const QString fileName = parts.takeLast();
        const auto outside = [&] {
            fail(operation, relativePath, QStringLiteral("not a path inside the store"));
        };
        if (fileName.isEmpty() || QDir::isAbsolutePath(relativePath))
            outside();
        for (const QString& part : parts + QStringList{fileName}) {
            if (part.isEmpty() || part == u"." || part == u"..")
                outside();
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
                int error = 0;
                const auto name = directory->findEntry(part, &error);
                if (!name)
                    fail(operation, relativePath, qt_error_string(error));
                cached = std::make_unique<FoldedDirectory>(directory->path() + '/' +
                                                           QFile::encodeName(*name));
            }
            directory = cached.get();
        }
        return {directory, fileName};
    }

    // The plain text of a file; `shown` names it in messages.
    // `shown` gives the name for messages; it is only built when one is needed,
    // since a sign-in reads every file of the store.
    template <typename Shown>
    QString readText(FoldedDirectory& directory, const QString& canonical, const QString& asked,
                     const Shown& shown) {
        storefiles::ReadOutcome outcome = directory.read(canonical, asked);
        if (outcome.error == ENOENT && &directory == store.get() && storeDirectoryMoved()) {
            outcome = store->read(canonical, asked);
        }
        if (!outcome.ok())
            fail(QStringLiteral("read"), shown(), outcome.reason);
        rtf::ReadResult document = rtf::read(outcome.data);
        if (!document.ok) {
            fail(QStringLiteral("read"), shown(),
                 QStringLiteral("not a valid store file (%1)").arg(document.error));
        }
        return std::move(document.text);
    }

    void writeText(FoldedDirectory& directory, const QString& canonical, const QString& text,
                   const QString& shown) {
        const QString error = directory.replace(canonical, rtf::write(text));
        if (!error.isEmpty())
            fail(QStringLiteral("write"), shown, error);
    }

    QString readStoreFile(const QString& canonical, const QString& asked) {
        int error = 0;
        FoldedDirectory* directory = storeDirectory(&error);
        if (!directory)
            fail(QStringLiteral("read"), kDirectory + u'/' + asked, qt_error_string(error));
        return readText(*directory, canonical, asked,
                        [&asked] { return kDirectory + u'/' + asked; });
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

bool AccountStore::runFirstRunSetup(const QString& dir1Path) {
    if (impl_->readText(impl_->work, kCounterName, kCounterName, [] { return kCounterName; }) !=
        u"0") {
        return false;
    }
    // The store directory goes below the main window's directory, which is the
    // working directory unless something moved it.
    std::unique_ptr<FoldedDirectory> elsewhere;
    FoldedDirectory* base = &impl_->work;
    if (!dir1Path.isEmpty() &&
        QDir(dir1Path).absolutePath() != QDir(workingDirectory()).absolutePath()) {
        elsewhere =
            std::make_unique<FoldedDirectory>(QFile::encodeName(QDir(dir1Path).absolutePath()));
        base = elsewhere.get();
    }
    int error = 0;
    const auto existing = base->findEntry(kDirectory, &error);
    if (!existing && error != ENOENT)
        fail(QStringLiteral("create directory"), kDirectory, qt_error_string(error));
    const QByteArray path = base->path() + '/' + QFile::encodeName(existing.value_or(kDirectory));
    struct stat info;
    if (!existing) {
        // Another copy starting at the same moment may have made it meanwhile.
        const int makeError = storefiles::makeDirectory(path);
        if (makeError != 0 && !(makeError == EEXIST && ::stat(path.constData(), &info) == 0 &&
                                S_ISDIR(info.st_mode))) {
            fail(QStringLiteral("create directory"), kDirectory, qt_error_string(makeError));
        }
    } else if (::stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        fail(QStringLiteral("create directory"), kDirectory, qt_error_string(EEXIST));
    }
    {
        FoldedDirectory& store =
            impl_->requireStoreDirectory(QStringLiteral("write"), kCounterPath);
        // Under the lock, so a copy registering at this moment cannot have its
        // counter reset to "0"; an existing counter, damaged or not, is kept.
        const StoreLock lock(store.path(), kDirectory);
        if (!store.contains(kCounterName))
            impl_->writeText(store, kCounterName, QStringLiteral("0"), kCounterPath);
    }
    impl_->writeText(impl_->work, kCounterName, QStringLiteral("1"), kCounterName);
    return true;
}

QString AccountStore::loadCounterText() const {
    return impl_->readStoreFile(kCounterName, kCounterName);
}

Credentials AccountStore::readCredentials(std::int64_t user) const {
    Credentials credentials;
    credentials.userName = impl_->readStoreFile(storenames::writeName(Field::UserName, user),
                                                storenames::readName(Field::UserName, user));
    credentials.password = impl_->readStoreFile(storenames::writeName(Field::Password, user),
                                                storenames::readName(Field::Password, user));
    return credentials;
}

QString AccountStore::readField(Field field, std::int64_t user) const {
    return impl_->readStoreFile(storenames::writeName(field, user),
                                storenames::readName(field, user));
}

QString AccountStore::registerUser(const UserFields& fields) {
    FoldedDirectory& store = impl_->requireStoreDirectory(QStringLiteral("lock"), kDirectory);
    const StoreLock lock(store.path(), kDirectory);
    // Another copy may have registered since this one last looked, so the number
    // comes from the disk, never from memory.
    const QString counter = loadCounterText();
    const std::optional<std::int64_t> user = readNumberStrictly(counter);
    if (!user || *user < 0 || *user == std::numeric_limits<std::int64_t>::max()) {
        throw StoreError(
            QStringLiteral("Cannot register a user: %1 holds %2, which is not a user count")
                .arg(kCounterPath, quoted(counter)));
    }
    const QString* values[] = {&fields.name, &fields.age, &fields.email, &fields.userName,
                               &fields.password};
    for (std::size_t i = 0; i < storenames::kFields.size(); ++i) {
        impl_->writeStoreFile(storenames::writeName(storenames::kFields[i], *user), *values[i]);
    }
    const QString raised = QString::number(*user + 1);
    impl_->writeStoreFile(kCounterName, raised);
    return raised;
}

}  // namespace mindlark
