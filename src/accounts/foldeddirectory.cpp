#include "accounts/foldeddirectory.h"

#include "accounts/storenames.h"

#include <QFile>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

namespace mindlark {

namespace {

bool sameStamp(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

storefiles::ReadOutcome failure(int error) {
    storefiles::ReadOutcome outcome;
    outcome.error = error;
    outcome.reason = qt_error_string(error);
    return outcome;
}

}  // namespace

FoldedDirectory::FoldedDirectory(QByteArray path) : path_(std::move(path)) {}

QByteArray FoldedDirectory::encodedPath(const QString& name) const {
    return path_ + '/' + QFile::encodeName(name);
}

storefiles::ReadOutcome FoldedDirectory::read(const QString& canonical, const QString& asked) {
    storefiles::ReadOutcome outcome = storefiles::readFile(encodedPath(canonical));
    if (outcome.error != ENOENT)
        return outcome;
    if (asked != canonical) {
        outcome = storefiles::readFile(encodedPath(asked));
        if (outcome.error != ENOENT)
            return outcome;
    }
    const QString key = storenames::folded(asked);
    bool fresh = false;
    if (!scanned_) {
        if (const int error = rescan())
            return failure(error);
        fresh = true;
    }
    for (;;) {
        for (const QString& name : index_.value(key)) {
            if (name == canonical || name == asked)
                continue;
            outcome = storefiles::readFile(encodedPath(name));
            if (outcome.error != ENOENT)
                return outcome;
        }
        if (fresh)
            return failure(ENOENT);
        // The file may have arrived, under another case, since the index was built.
        if (const int error = rescan())
            return failure(error);
        fresh = true;
    }
}

QString FoldedDirectory::replace(const QString& canonical, QByteArrayView data) {
    if (const int error = refreshIfChanged())
        return qt_error_string(error);
    const QString key = storenames::folded(canonical);
    const QStringList existing = index_.value(key);
    // Replacing the file under the name it already has keeps the swap a single
    // atomic rename; readers never see the name missing.
    QString target = canonical;
    if (!existing.isEmpty() && !existing.contains(canonical))
        target = existing.first();
    const QString error = storefiles::replaceFile(path_, QFile::encodeName(target), data);
    if (!error.isEmpty())
        return error;
    index_[key] = QStringList{target};
    bool removedAny = false;
    for (const QString& name : existing) {
        if (name == target)
            continue;
        if (::unlink(encodedPath(name).constData()) != 0 && errno != ENOENT) {
            const int unlinkError = errno;
            index_[key] = existing;
            return qt_error_string(unlinkError);
        }
        removedAny = true;
    }
    if (removedAny) {
        const QString syncError = storefiles::syncDirectory(path_);
        if (!syncError.isEmpty())
            return syncError;
    }
    rememberStamp();
    return {};
}

bool FoldedDirectory::contains(const QString& name) {
    if (refreshIfChanged() != 0)
        return false;
    return index_.contains(storenames::folded(name));
}

std::optional<QString> FoldedDirectory::findEntry(const QString& name, int* error) {
    struct stat info;
    if (::stat(encodedPath(name).constData(), &info) == 0)
        return name;
    if (errno != ENOENT) {
        if (error)
            *error = errno;
        return std::nullopt;
    }
    const QString key = storenames::folded(name);
    bool fresh = false;
    if (!scanned_) {
        if (const int listError = rescan()) {
            if (error)
                *error = listError;
            return std::nullopt;
        }
        fresh = true;
    }
    for (;;) {
        const QStringList candidates = index_.value(key);
        for (const QString& candidate : candidates) {
            if (::stat(encodedPath(candidate).constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
                return candidate;
            }
        }
        if (!candidates.isEmpty())
            return candidates.first();
        if (fresh)
            break;
        if (const int listError = rescan()) {
            if (error)
                *error = listError;
            return std::nullopt;
        }
        fresh = true;
    }
    if (error)
        *error = ENOENT;
    return std::nullopt;
}

QStringList FoldedDirectory::variants(const QString& name) {
    if (rescan() != 0)
        return {};
    return index_.value(storenames::folded(name));
}

QHash<QString, QStringList> FoldedDirectory::listing(QString* error) {
    if (const int listError = rescan()) {
        if (error)
            *error = qt_error_string(listError);
        return {};
    }
    return index_;
}

int FoldedDirectory::rescan() {
    // The stamp is taken before listing, so a change made while listing shows up
    // as a changed stamp next time rather than being missed.
    struct stat info;
    if (::stat(path_.constData(), &info) != 0)
        return errno;
    if (!S_ISDIR(info.st_mode))
        return ENOTDIR;
    DIR* dir = ::opendir(path_.constData());
    if (!dir)
        return errno;
    QHash<QString, QStringList> index;
    int readError = 0;
    for (;;) {
        errno = 0;
        const struct dirent* entry = ::readdir(dir);
        if (!entry) {
            readError = errno;
            break;
        }
        const QByteArray raw(entry->d_name);
        if (raw == "." || raw == "..")
            continue;
        const QString name = QFile::decodeName(raw);
        index[storenames::folded(name)].append(name);
    }
    ::closedir(dir);
    if (readError != 0)
        return readError;
    for (QStringList& names : index) {
        if (names.size() > 1)
            std::sort(names.begin(), names.end());
    }
    index_ = std::move(index);
    scanned_ = true;
    stamp_ = info.st_mtim;
    inode_ = info.st_ino;
    return 0;
}

int FoldedDirectory::refreshIfChanged() {
    if (!scanned_)
        return rescan();
    struct stat info;
    if (::stat(path_.constData(), &info) != 0)
        return errno;
    if (info.st_ino != inode_ || !sameStamp(info.st_mtim, stamp_))
        return rescan();
    return 0;
}

void FoldedDirectory::rememberStamp() {
    struct stat info;
    if (::stat(path_.constData(), &info) != 0 || info.st_ino != inode_) {
        scanned_ = false;
        return;
    }
    stamp_ = info.st_mtim;
}

}  // namespace mindlark
