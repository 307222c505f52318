#pragma once

#include "accounts/storefiles.h"

#include <sys/types.h>
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <ctime>
#include <optional>

namespace mindlark {

// One directory whose entries are found regardless of letter case, as on the
// file systems the store comes from. A lookup tries the name in the writer's
// case, then the name as asked, and only then a cached case-folded index of the
// directory, which a lookup that misses rebuilds at most once. The index leaves
// out store names already spelled as the program writes them (the first try finds
// those), so a store written by this program is never listed for a read and its
// index stays empty however large the store grows. Not thread-safe.
class FoldedDirectory {
public:
    // The directory at the encoded path `path` (no trailing slash needed).
    explicit FoldedDirectory(QByteArray path);
    ~FoldedDirectory();
    FoldedDirectory(const FoldedDirectory&) = delete;
    FoldedDirectory& operator=(const FoldedDirectory&) = delete;

    // The encoded path given at construction.
    const QByteArray& path() const { return path_; }

    // Reads the file named `canonical` (the writer's case) or `asked`, or any entry
    // equal to them regardless of case. Fails with ENOENT when there is none.
    Outcome<QByteArray> read(const QString& canonical, const QString& asked);

    // Replaces the file equal to `canonical` regardless of case, keeping the name
    // it has on disk, or creates it as `canonical`; entries differing from it only
    // in case are removed afterwards, so one name is left. Atomic as
    // storefiles::replaceFile().
    Outcome<> replace(const QString& canonical, QByteArrayView data);

    // Whether any entry equals `name` regardless of case; a directory that cannot
    // be listed fails rather than answering "no".
    Outcome<bool> contains(const QString& name);

    // The name on disk of the entry equal to `name` regardless of case, preferring
    // the exact spelling, then the writer's, then a directory. Fails with ENOENT
    // when there is none, or with the error listing gave.
    Outcome<QString> findEntry(const QString& name);

    // Every entry equal to `name` regardless of case, freshly listed, sorted.
    Outcome<QStringList> variants(const QString& name);

    // Every entry of the directory, freshly listed, grouped by folded name with
    // each group sorted.
    Outcome<QHash<QString, QStringList>> listing();

private:
    // One listing and the directory's state just before it was taken.
    struct Listing {
        QHash<QString, QStringList> entries;  // folded name -> names on disk, sorted
        struct timespec stamp = {};
        ino_t inode = 0;
    };
    // Lists the directory: every entry when `everything`, else those the index keeps.
    Outcome<Listing> list(bool everything) const;
    // Rebuilds the index.
    Outcome<> rescan();
    // Rebuilds the index when the directory changed since it was built or last
    // written by this object.
    Outcome<> refreshIfChanged();
    // Remembers the directory's change stamp after this object changed it.
    void rememberStamp();
    bool exists(const QString& name) const;
    QByteArray encodedPath(const QString& name) const;
    // Reads the file called exactly `name`; the bytes share readBuffer_.
    Outcome<QByteArray> readName(const QString& name);

    QByteArray path_;
    int descriptor_ = -1;    // the directory, opened on the first read
    QByteArray nameBuffer_;  // the last name read, kept for its allocation
    QByteArray readBuffer_;  // the last file read, likewise
    bool scanned_ = false;
    QHash<QString, QStringList> index_;  // folded name -> names on disk, sorted
    struct timespec stamp_ = {};         // the directory's mtime when the index was current
    ino_t inode_ = 0;
};

}  // namespace mindlark
