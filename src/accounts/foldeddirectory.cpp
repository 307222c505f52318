#include "accounts/foldeddirectory.h"

#include "accounts/storenames.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <utility>

namespace mindlark {

namespace {

bool sameStamp(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

FoldedDirectory::FoldedDirectory(QByteArray path) : path_(std::move(path)) {}

FoldedDirectory::FoldedDirectory(QByteArray path, int descriptor)
    : path_(std::move(path)), descriptor_(descriptor) {}

FoldedDirectory::FoldedDirectory(FoldedDirectory&& other) noexcept
    : path_(std::move(other.path_)),
      descriptor_(other.descriptor_),
      readDescriptor_(std::exchange(other.readDescriptor_, -1)),
      scanned_(other.scanned_),
      index_(std::move(other.index_)),
      stamp_(other.stamp_),
      inode_(other.inode_) {}

FoldedDirectory::~FoldedDirectory() {
    if (readDescriptor_ >= 0)
        ::close(readDescriptor_);
}

QByteArray FoldedDirectory::encodedPath(const QString& name) const {
    if (descriptor_ >= 0)
        return QFile::encodeName(name);
    return path_ + '/' + QFile::encodeName(name);
}

int FoldedDirectory::base() const {
    return descriptor_ >= 0 ? descriptor_ : AT_FDCWD;
}

int FoldedDirectory::statEntry(const QString& name, struct stat& info) const {
    if (::fstatat(base(), encodedPath(name).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        return 0;
    return errno;
}

bool FoldedDirectory::exists(const QString& name) const {
    struct stat info;
    return statEntry(name, info) == 0;
}

Outcome<QByteArray> FoldedDirectory::readName(const QString& name) {
    // A sign-in reads every file of the store: names are opened relative to the
    // directory, held open, and name and bytes go into buffers this object keeps.
    int directory = descriptor_;
    if (directory < 0) {
        if (readDescriptor_ < 0)
            readDescriptor_ = ::open(path_.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        directory = readDescriptor_;
    }
    nameBuffer_.resize(0);
    if (directory < 0)
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
    if (Outcome<> read = storefiles::readFileInto(directory >= 0 ? directory : AT_FDCWD,
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
            outcome = readName(name);
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

Outcome<> FoldedDirectory::replace(const QString& canonical, const QString& asked,
                                   QByteArrayView data,
                                   const storefiles::BeforePublish& beforePublish) {
    // The spelling read() settles on, found without listing: replacing the file
    // under the name it already has keeps the swap a single atomic rename, so
    // readers never see the name missing. Other spellings stay as they are.
    QString target = canonical;
    if (!exists(canonical)) {
        if (asked != canonical && exists(asked)) {
            target = asked;
        } else if (scanned_) {
            const QStringList others = index_.value(storenames::folded(canonical));
            if (!others.isEmpty())
                target = others.first();
        }
    }
    if (descriptor_ >= 0)
        return storefiles::replaceFile(descriptor_, QFile::encodeName(target), data, beforePublish);
    const Outcome<int> opened = storefiles::openDirectory(AT_FDCWD, path_);
    if (!opened.ok())
        return opened.failure();
    const Outcome<> replaced =
        storefiles::replaceFile(opened.value(), QFile::encodeName(target), data, beforePublish);
    ::close(opened.value());
    return replaced;
}

bool FoldedDirectory::has(const QString& canonical, const QString& asked) const {
    return exists(canonical) || (asked != canonical && exists(asked)) ||
           (scanned_ && index_.contains(storenames::folded(asked)));
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
    bool link = false;
    const auto found = [this, &statError, &link](const QString& candidate, bool directoryOnly) {
        struct stat info;
        const int error = statEntry(candidate, info);
        if (error != 0) {
            if (error != ENOENT)
                statError = error;
            return false;
        }
        if (S_ISLNK(info.st_mode)) {
            link = true;
            return !directoryOnly;
        }
        return !directoryOnly || S_ISDIR(info.st_mode);
    };
    const auto answer = [&link](const QString& candidate) -> Outcome<QString> {
        if (link)
            return Failure{ELOOP, QString::fromUtf16(storefiles::kLinkReason)};
        return candidate;
    };
    if (found(name, false))
        return answer(name);
    const QString canonical = storenames::canonicalCase(name);
    if (canonical != name && found(canonical, false))
        return answer(canonical);
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
            if (found(candidate, true))
                return answer(candidate);
        }
        if (!candidates.isEmpty()) {
            link = false;
            found(candidates.first(), false);
            return answer(candidates.first());
        }
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
    if ((descriptor_ >= 0 ? ::fstat(descriptor_, &info) : ::stat(path_.constData(), &info)) != 0)
        return Failure::ofErrno(errno);
    if (!S_ISDIR(info.st_mode))
        return Failure::ofErrno(ENOTDIR);
    DIR* dir = nullptr;
    if (descriptor_ >= 0) {
        // A descriptor of its own, since closedir() closes it.
        const int copy = ::fcntl(descriptor_, F_DUPFD_CLOEXEC, 0);
        if (copy < 0)
            return Failure::ofErrno(errno);
        dir = ::fdopendir(copy);
        if (!dir) {
            const int error = errno;
            ::close(copy);
            return Failure::ofErrno(error);
        }
        ::rewinddir(dir);
    } else {
        dir = ::opendir(path_.constData());
    }
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
    if ((descriptor_ >= 0 ? ::fstat(descriptor_, &info) : ::stat(path_.constData(), &info)) != 0)
        return Failure::ofErrno(errno);
    if (info.st_ino != inode_ || !sameStamp(info.st_mtim, stamp_))
        return rescan();
    return {};
}

}  // namespace mindlark
