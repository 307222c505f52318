#pragma once

#include "accounts/storefiles.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <ctime>
#include <functional>
#include <optional>

namespace mindlark {

// One directory whose entries are found regardless of letter case, as on the
// file systems the store comes from. A lookup tries the name in the writer's
// case, then the name as asked, and only then a cached case-folded index of the
// directory, which a lookup that misses rebuilds at most once. The index leaves
// out store names already spelled as the program writes them (the first try finds
// those), so a store written by this program is never listed for a read and its
// index stays empty however large the store grows. Writes never list the
// directory. Not thread-safe.
class FoldedDirectory {
public:
    // The directory at the encoded path `path` (no trailing slash needed).
    explicit FoldedDirectory(QByteArray path);
    // The open directory `descriptor` (not owned), which every operation goes
    // through, whatever `path` names meanwhile; `path` is only for messages.
    FoldedDirectory(QByteArray path, int descriptor);
    FoldedDirectory(FoldedDirectory&& other) noexcept;
    ~FoldedDirectory();
    FoldedDirectory(const FoldedDirectory&) = delete;
    FoldedDirectory& operator=(const FoldedDirectory&) = delete;

    // The encoded path given at construction.
    const QByteArray& path() const { return path_; }

    // Reads the file named `canonical` (the writer's case) or `asked`, or any entry
    // equal to them regardless of case. Fails with ENOENT when there is none.
    Outcome<QByteArray> read(const QString& canonical, const QString& asked);

    // Replaces the file named by replaceTarget(). Other spellings are left alone. Atomic as
    // storefiles::replaceFile(), which asks `beforePublish` before the rename.
    Outcome<> replace(const QString& canonical, const QString& asked, QByteArrayView data,
                      const storefiles::BeforePublish& beforePublish = {});

    // The name replace() would write: the file a read() of `canonical` or `asked`
    // would settle on, found by exact names (and the index when a read has built
    // it), else `canonical`.
    Outcome<QString> replaceTarget(const QString& canonical, const QString& asked) const;

    // Whether a file a read() of `canonical` or `asked` could find is there, by
    // their exact names and, once a read has built it, the index; never lists.
    // Fails when an exact name cannot be examined (a directory not searchable).
    Outcome<bool> has(const QString& canonical, const QString& asked) const;

    // The name on disk of the entry equal to `name` regardless of case, preferring
    // the exact spelling, then the writer's, then a directory. Fails with ENOENT
    // when there is none, with ELOOP when it is a symbolic link, or with the error
    // listing gave.
    Outcome<QString> findEntry(const QString& name);

    // Every entry equal to `name` regardless of case, freshly listed, sorted.
    Outcome<QStringList> variants(const QString& name);

    // Every entry of the directory, freshly listed, grouped by folded name with
    // each group sorted.
    Outcome<QHash<QString, QStringList>> listing();

private:
    // Lists the directory: every entry when `everything`, else those the index keeps.
    Outcome<QHash<QString, QStringList>> list(bool everything) const;
    // Rebuilds the index.
    Outcome<> rescan();
    // What `tryCandidates` makes of the names on disk the index holds for `name`,
    // or nothing when none of them will do.
    template <typename T>
    using Candidates = std::function<std::optional<Outcome<T>>(const QStringList& names)>;
    // The one way into the index: builds it when there is none, gives the names
    // folding like `name` to `tryCandidates`, and when they will not do in an index
    // this lookup did not build, rebuilds it once and tries again. Fails with ENOENT
    // when nothing will do.
    template <typename T>
    Outcome<T> lookUp(const QString& name, const Candidates<T>& tryCandidates);
    // Whether an entry is named exactly `name` (a link counts, unfollowed); fails
    // when it cannot be told, for any reason but the name's absence.
    Outcome<bool> exists(const QString& name) const;
    // The status of the entry named exactly `name`, links unfollowed.
    Outcome<struct stat> statEntry(const QString& name) const;
    // What `name` is passed as to the *at() calls, and the directory they start from.
    QByteArray encodedPath(const QString& name) const;
    int base() const;
    // Reads the file called exactly `name`; the bytes share readBuffer_.
    Outcome<QByteArray> readName(const QString& name);

    QByteArray path_;
    int descriptor_ = -1;
    int readDescriptor_ = -1;  // without descriptor_: the directory, opened for reads
    QByteArray nameBuffer_;    // the last name read, kept for its allocation
    QByteArray readBuffer_;    // the last file read, likewise
    bool scanned_ = false;
    QHash<QString, QStringList> index_;  // folded name -> names on disk, sorted
};

}  // namespace mindlark
