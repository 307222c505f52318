#include "accounts/storeinspector.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "accounts/foldeddirectory.h"
#include "accounts/storefiles.h"
#include "accounts/storenames.h"
#include "lock/storelock.h"

namespace mindlark {

namespace {

Outcome<QString> textOf(const Outcome<QByteArray>& bytes) {
    if (!bytes.ok())
        return bytes.failure();
    return storefiles::documentText(bytes.value());
}

}  // namespace

class StoreInspector::Impl {
public:
    explicit Impl(const QString& workingDirectory)
        : work(QFile::encodeName(QDir(workingDirectory).absolutePath())) {}

    FoldedDirectory work;
};

StoreInspector::StoreInspector(const QString& workingDirectory)
    : impl_(std::make_unique<Impl>(workingDirectory)) {}

StoreInspector::~StoreInspector() = default;

QString StoreInspector::markerName() {
    return QString::fromUtf16(storenames::kCounterName);
}

QString StoreInspector::storeDirectoryName() {
    return QString::fromUtf16(storenames::kDirectory);
}

QString StoreInspector::fieldFileName(Field field, std::int64_t user) {
    return storenames::writeName(field, user);
}

Outcome<QStringList> StoreInspector::spellings(const QString& name) {
    return impl_->work.variants(name);
}

Outcome<QString> StoreInspector::storeDirectory() {
    return impl_->work.findEntry(storeDirectoryName());
}

Outcome<StoreInventory> StoreInspector::inventory() {
    const Outcome<QString> name = storeDirectory();
    if (!name.ok())
        return name.failure();
    const QByteArray path = impl_->work.path() + '/' + QFile::encodeName(name.value());
    FoldedDirectory folder(path);
    const Outcome<QHash<QString, QStringList>> listed = folder.listing();
    if (!listed.ok())
        return listed.failure();
    QHash<QString, QStringList> names;
    QList<StoreInventory::ListedAs> listedAs;
    for (const QStringList& spellings : listed.value()) {
        for (const QString& spelling : spellings) {
            QString onDisk = spelling;
            if (!storenames::parse(spelling) && spelling.contains(QLatin1StringView("%25"))) {
                const QString decoded =
                    QString(spelling).replace(QLatin1StringView("%25"), QLatin1StringView("%"));
                struct stat info;
                if (storenames::parse(decoded) &&
                    ::fstatat(AT_FDCWD, (path + '/' + QFile::encodeName(decoded)).constData(),
                              &info, AT_SYMLINK_NOFOLLOW) == 0) {
                    onDisk = decoded;
                    listedAs += {decoded, spelling};
                }
            }
            names[storenames::folded(onDisk)] += onDisk;
        }
    }
    for (QStringList& spellings : names)
        spellings.sort();
    return StoreInventory::of(names, std::move(listedAs));
}

Outcome<QStringList> StoreInspector::lockNotes() {
    const Outcome<QString> name = storeDirectory();
    if (!name.ok())
        return name.failure();
    const Outcome<int> opened = storefiles::openDirectory(
        AT_FDCWD, impl_->work.path() + '/' + QFile::encodeName(name.value()));
    if (!opened.ok())
        return opened.failure();
    const QStringList lines = StoreLock::describe(opened.value(), name.value());
    ::close(opened.value());
    return lines;
}

Outcome<QString> StoreInspector::readText(Place place, const QString& nameOnDisk) {
    QByteArray directory = impl_->work.path();
    if (place == Place::StoreDirectory) {
        const Outcome<QString> name = storeDirectory();
        if (!name.ok())
            return name.failure();
        directory += '/' + QFile::encodeName(name.value());
    }
    return textOf(storefiles::readFile(directory + '/' + QFile::encodeName(nameOnDisk)));
}

Outcome<QString> StoreInspector::readFileAt(const QString& path) {
    Outcome<QByteArray> bytes = storefiles::readFile(QFile::encodeName(path));
    if (bytes.error() == ENOENT) {
        // Store files are named regardless of case; so is the file asked for.
        const QFileInfo info(path);
        FoldedDirectory directory(QFile::encodeName(info.path()));
        bytes = directory.read(storenames::canonicalCase(info.fileName()), info.fileName());
    }
    return textOf(bytes);
}

}  // namespace mindlark
