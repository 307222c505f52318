#include "accounts/foldeddirectory.h"

#include "lock/temporaries.h"

#include "accounts/storenames.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

namespace mindlark {

FoldedDirectory::FoldedDirectory(QByteArray path) : path_(std::move(path)) {}

FoldedDirectory::FoldedDirectory(QByteArray path, int descriptor)
    : path_(std::move(path)), descriptor_(descriptor) {}

FoldedDirectory::FoldedDirectory(FoldedDirectory&& other) noexcept
    : path_(std::move(other.path_)),
      descriptor_(other.descriptor_),
      readDescriptor_(std::exchange(other.readDescriptor_, -1)),
      scanned_(other.scanned_),
      index_(std::move(other.index_)) {}

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

Outcome<struct stat> FoldedDirectory::statEntry(const QString& name) const {
    struct stat info;
    if (::fstatat(base(), encodedPath(name).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return Failure::ofErrno(errno);
    return info;
}

Outcome<bool> FoldedDirectory::exists(const QString& name) const {
    const Outcome<struct stat> info = statEntry(name);
    if (info.error() == ENOENT)
        return false;
    if (!info.ok())
        return info.failure();
    return true;
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
    Outcome<QByteArray> bytes = storefiles::readFileAt(directory >= 0 ? directory : AT_FDCWD,
                                                       nameBuffer_, std::move(readBuffer_));
    if (bytes.ok())
        readBuffer_ = bytes.value();
    return bytes;
}

template <typename T>
Outcome<T> FoldedDirectory::lookUp(const QString& name, const Candidates<T>& tryCandidates) {
    bool fresh = false;
    if (!scanned_) {
        if (Outcome<> scanned = rescan(); !scanned.ok())
            return scanned.failure();
        fresh = true;
    }
    const QString key = storenames::folded(name);
    for (;;) {
        if (std::optional<Outcome<T>> found = tryCandidates(index_.value(key)))
            return std::move(*found);
        if (fresh)
            return Failure::ofErrno(ENOENT);
        // The entry may have arrived, under another case, since the index was built.
        if (Outcome<> scanned = rescan(); !scanned.ok())
            return scanned.failure();
        fresh = true;
    }
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
    return lookUp<QByteArray>(asked,
                              [&](const QStringList& names) -> std::optional<Outcome<QByteArray>> {
                                  for (const QString& name : names) {
                                      if (name == canonical || name == asked)
                                          continue;
                                      Outcome<QByteArray> bytes = readName(name);
                                      if (bytes.error() != ENOENT)
                                          return bytes;
                                  }
                                  return std::nullopt;
                              });
}

Outcome<QString> FoldedDirectory::replaceTarget(const QString& canonical,
                                                const QString& asked) const {
    // The spelling read() settles on, found without listing: replacing the file
    // under the name it already has keeps the swap a single atomic rename, so
    // readers never see the name missing. Other spellings stay as they are.
    const Outcome<bool> canonicalThere = exists(canonical);
    if (!canonicalThere.ok())
        return canonicalThere.failure();
    if (canonicalThere.value())
        return canonical;
    const Outcome<bool> askedThere = asked != canonical ? exists(asked) : false;
    if (!askedThere.ok())
        return askedThere.failure();
    if (askedThere.value())
        return asked;
    if (scanned_) {
        const QStringList others = index_.value(storenames::folded(canonical));
        if (!others.isEmpty())
            return others.first();
    }
    return canonical;
}

Outcome<> FoldedDirectory::replace(const QString& canonical, const QString& asked,
                                   QByteArrayView data,
                                   const storefiles::BeforePublish& beforePublish) {
    const Outcome<QString> target = replaceTarget(canonical, asked);
    if (!target.ok())
        return target.failure();
    const QByteArray name = QFile::encodeName(target.value());
    if (descriptor_ >= 0)
        return storefiles::replaceFile(descriptor_, name, data, beforePublish);
    const Outcome<int> opened = storefiles::openDirectory(AT_FDCWD, path_);
    if (!opened.ok())
        return opened.failure();
    const Outcome<> replaced = storefiles::replaceFile(opened.value(), name, data, beforePublish);
    ::close(opened.value());
    return replaced;
}

Outcome<bool> FoldedDirectory::has(const QString& canonical, const QString& asked) const {
    if (scanned_ && index_.contains(storenames::folded(asked)))
        return true;
    const Outcome<bool> there = exists(canonical);
    if (!there.ok() || there.value() || asked == canonical)
        return there;
    return exists(asked);
}

Outcome<QString> FoldedDirectory::findEntry(const QString& name) {
    // A name that exists but cannot be examined is worth reporting over "none".
    std::optional<Failure> statFailure;
    bool link = false;
    const auto found = [this, &statFailure, &link](const QString& candidate, bool directoryOnly) {
        const Outcome<struct stat> info = statEntry(candidate);
        if (!info.ok()) {
            if (info.error() != ENOENT)
                statFailure = info.failure();
            return false;
        }
        if (S_ISLNK(info.value().st_mode)) {
            link = true;
            return !directoryOnly;
        }
        return !directoryOnly || S_ISDIR(info.value().st_mode);
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
    Outcome<QString> entry = lookUp<QString>(
        name, [&](const QStringList& candidates) -> std::optional<Outcome<QString>> {
            for (const QString& candidate : candidates) {
                if (found(candidate, true))
                    return answer(candidate);
            }
            if (candidates.isEmpty())
                return std::nullopt;
            link = false;
            found(candidates.first(), false);
            return answer(candidates.first());
        });
    if (entry.error() == ENOENT && statFailure)
        return *statFailure;
    return entry;
}

Outcome<QStringList> FoldedDirectory::variants(const QString& name) {
    Outcome<QHash<QString, QStringList>> entries = listing();
    if (!entries.ok())
        return entries.failure();
    return entries.value().value(storenames::folded(name));
}

Outcome<QHash<QString, QStringList>> FoldedDirectory::listing() {
    return list(true);
}

Outcome<QHash<QString, QStringList>> FoldedDirectory::list(bool everything) const {
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
    QHash<QString, QStringList> listing;
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
        if (!everything && (storenames::isCanonical(name) || temporaries::isTemporaryName(name))) {
            continue;
        }
        listing[storenames::folded(name)].append(name);
    }
    ::closedir(dir);
    if (readError != 0)
        return Failure::ofErrno(readError);
    for (QStringList& names : listing) {
        if (names.size() > 1)
            std::sort(names.begin(), names.end());
    }
    return listing;
}

Outcome<> FoldedDirectory::rescan() {
    Outcome<QHash<QString, QStringList>> listed = list(false);
    if (!listed.ok())
        return listed.failure();
    index_ = std::move(listed.value());
    scanned_ = true;
    return {};
}

}  // namespace mindlark
