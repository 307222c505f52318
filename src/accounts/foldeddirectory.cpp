#include "accounts/foldeddirectory.h"

#include "accounts/storenames.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

namespace mindlark {

namespace {

bool sameStamp(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
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

FoldedDirectory::~FoldedDirectory() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

Outcome<QByteArray> FoldedDirectory::readName(const QString& name) {
    // A sign-in reads every file of the store: names are opened relative to the
    // directory, held open, and name and bytes go into buffers this object keeps.
    if (descriptor_ < 0)
        descriptor_ = ::open(path_.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const bool relative = descriptor_ >= 0;
    nameBuffer_.resize(0);
    if (!relative)
        nameBuffer_.append(path_).append('/');
    const qsizetype start = nameBuffer_.size();
    for (const QChar c : name) {
        if (c.unicode() >= 0x80) {
            nameBuffer_.resize(start);
            nameBuffer_.append(QFile::encodeName(name));
            break;
        }
        nameBuffer_.append(char(c.unicode()));
    }
    if (Outcome<> read = storefiles::readFileInto(relative ? descriptor_ : AT_FDCWD,
                                                  nameBuffer_.constData(), readBuffer_);
        !read.ok()) {
        return read.failure();
    }
    return readBuffer_;
}

Outcome<QByteArray> FoldedDirectory::read(const QString& canonical, const QString& asked) {
    Outcome<QByteArray> outcome = readName(canonical);
    if (outcome.error() != ENOENT)
        return outcome;
    if (asked != canonical) {
        outcome = readName(asked);
        if (outcome.error() != ENOENT)
            return outcome;
    }
    const QString key = storenames::folded(asked);
    bool fresh = false;
    if (!scanned_) {
        if (Outcome<> scanned = rescan(); !scanned.ok())
            return scanned.failure();
        fresh = true;
    }
    for (;;) {
        for (const QString& name : index_.value(key)) {
            if (name == canonical || name == asked)
                continue;
            outcome = storefiles::readFile(encodedPath(name));
            if (outcome.error() != ENOENT)
                return outcome;
        }
        if (fresh)
            return Failure::ofErrno(ENOENT);
        // The file may have arrived, under another case, since the index was built.
        if (Outcome<> scanned = rescan(); !scanned.ok())
            return scanned.failure();
        fresh = true;
    }
}

Outcome<> FoldedDirectory::replace(const QString& canonical, QByteArrayView data) {
    if (Outcome<> refreshed = refreshIfChanged(); !refreshed.ok())
        return refreshed;
    const QString key = storenames::folded(canonical);
    const QStringList others = index_.value(key);
    // Replacing the file under the name it already has keeps the swap a single
    // atomic rename; readers never see the name missing.
    QString target = canonical;
    if (!others.isEmpty() && !others.contains(canonical) && !exists(canonical)) {
        target = others.first();
    }
    if (Outcome<> replaced = storefiles::replaceFile(path_, QFile::encodeName(target), data);
        !replaced.ok()) {
        return replaced;
    }
    bool removedAny = false;
    for (const QString& name : others) {
        if (name == target)
            continue;
        if (::unlink(encodedPath(name).constData()) != 0 && errno != ENOENT)
            return Failure::ofErrno(errno);
        removedAny = true;
    }
    if (storenames::isCanonical(target)) {
        index_.remove(key);
    } else {
        index_[key] = QStringList{target};
    }
    if (removedAny) {
        if (Outcome<> synced = storefiles::syncDirectory(path_); !synced.ok())
            return synced;
    }
    rememberStamp();
    return {};
}

Outcome<bool> FoldedDirectory::contains(const QString& name) {
    if (Outcome<> refreshed = refreshIfChanged(); !refreshed.ok())
        return refreshed.failure();
    return index_.contains(storenames::folded(name)) || exists(storenames::canonicalCase(name)) ||
           exists(name);
}

Outcome<QString> FoldedDirectory::findEntry(const QString& name) {
    // A name that exists but cannot be examined is worth reporting over "none".
    int statError = 0;
    const auto found = [this, &statError](const QString& candidate) {
        struct stat info;
        if (::stat(encodedPath(candidate).constData(), &info) == 0)
            return true;
        if (errno != ENOENT)
            statError = errno;
        return false;
    };
    if (found(name))
        return name;
    const QString canonical = storenames::canonicalCase(name);
    if (canonical != name && found(canonical))
        return canonical;
    const QString key = storenames::folded(name);
    bool fresh = false;
    if (!scanned_) {
        if (Outcome<> scanned = rescan(); !scanned.ok())
            return scanned.failure();
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
        if (Outcome<> scanned = rescan(); !scanned.ok())
            return scanned.failure();
        fresh = true;
    }
    return Failure::ofErrno(statError != 0 ? statError : ENOENT);
}

Outcome<QStringList> FoldedDirectory::variants(const QString& name) {
    Outcome<QHash<QString, QStringList>> entries = listing();
    if (!entries.ok())
        return entries.failure();
    return entries.value().value(storenames::folded(name));
}

Outcome<QHash<QString, QStringList>> FoldedDirectory::listing() {
    Outcome<Listing> listed = list(true);
    if (!listed.ok())
        return listed.failure();
    return std::move(listed.value().entries);
}

Outcome<FoldedDirectory::Listing> FoldedDirectory::list(bool everything) const {
    // The stamp is taken before listing, so a change made while listing shows up
    // as a changed stamp next time rather than being missed.
    struct stat info;
    if (::stat(path_.constData(), &info) != 0)
        return Failure::ofErrno(errno);
    if (!S_ISDIR(info.st_mode))
        return Failure::ofErrno(ENOTDIR);
    DIR* dir = ::opendir(path_.constData());
    if (!dir)
        return Failure::ofErrno(errno);
    Listing listing;
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
        listing.entries[storenames::folded(name)].append(name);
    }
    ::closedir(dir);
    if (readError != 0)
        return Failure::ofErrno(readError);
    for (QStringList& names : listing.entries) {
        if (names.size() > 1)
            std::sort(names.begin(), names.end());
    }
    listing.stamp = info.st_mtim;
    listing.inode = info.st_ino;
    return listing;
}

Outcome<> FoldedDirectory::rescan() {
    Outcome<Listing> listed = list(false);
    if (!listed.ok())
        return listed.failure();
    index_ = std::move(listed.value().entries);
    stamp_ = listed.value().stamp;
    inode_ = listed.value().inode;
    scanned_ = true;
    return {};
}

Outcome<> FoldedDirectory::refreshIfChanged() {
    if (!scanned_)
        return rescan();
    struct stat info;
    if (::stat(path_.constData(), &info) != 0)
        return Failure::ofErrno(errno);
    if (info.st_ino != inode_ || !sameStamp(info.st_mtim, stamp_))
        return rescan();
    return {};
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
