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

bool FoldedDirectory::exists(const QString& name) const {
    struct stat info;
    return ::lstat(encodedPath(name).constData(), &info) == 0;
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
    const QStringList others = index_.value(key);
    // Replacing the file under the name it already has keeps the swap a single
    // atomic rename; readers never see the name missing.
    QString target = canonical;
    if (!others.isEmpty() && !others.contains(canonical) && !exists(canonical)) {
        target = others.first();
    }
    const QString error = storefiles::replaceFile(path_, QFile::encodeName(target), data);
    if (!error.isEmpty())
        return error;
    bool removedAny = false;
    for (const QString& name : others) {
        if (name == target)
            continue;
        if (::unlink(encodedPath(name).constData()) != 0 && errno != ENOENT) {
            return qt_error_string(errno);
        }
        removedAny = true;
    }
    if (storenames::isCanonical(target)) {
        index_.remove(key);
    } else {
        index_[key] = QStringList{target};
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
    return index_.contains(storenames::folded(name)) || exists(storenames::canonicalCase(name)) ||
           exists(name);
}

std::optional<QString> FoldedDirectory::findEntry(const QString& name, int* error) {
    const auto found = [this, error](const QString& candidate) -> std::optional<QString> {
        struct stat info;
        if (::stat(encodedPath(candidate).constData(), &info) == 0)
            return candidate;
        if (errno != ENOENT && error)
            *error = errno;
        return std::nullopt;
    };
    if (auto exact = found(name))
        return exact;
    const QString canonical = storenames::canonicalCase(name);
    if (canonical != name) {
        if (auto written = found(canonical))
            return written;
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
            struct stat info;
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
    QString error;
    return listing(&error).value(storenames::folded(name));
}

QHash<QString, QStringList> FoldedDirectory::listing(QString* error) {
    QHash<QString, QStringList> entries;
    struct timespec stamp;
    ino_t inode;
    if (const int listError = list(true, entries, stamp, inode)) {
        if (error)
            *error = qt_error_string(listError);
        return {};
    }
    return entries;
}

int FoldedDirectory::list(bool everything, QHash<QString, QStringList>& entries,
                          struct timespec& stamp, ino_t& inode) const {
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
        // Names the first try of every lookup finds, and temporaries, which match
        // nothing, stay out of the index.
        if (!everything && (storenames::isCanonical(name) || storefiles::isTemporaryName(name))) {
            continue;
        }
        entries[storenames::folded(name)].append(name);
    }
    ::closedir(dir);
    if (readError != 0)
        return readError;
    for (QStringList& names : entries) {
        if (names.size() > 1)
            std::sort(names.begin(), names.end());
    }
    stamp = info.st_mtim;
    inode = info.st_ino;
    return 0;
}

int FoldedDirectory::rescan() {
    QHash<QString, QStringList> index;
    if (const int error = list(false, index, stamp_, inode_))
        return error;
    index_ = std::move(index);
    scanned_ = true;
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
