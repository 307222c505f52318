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

    // The encoded path given at construction.
    const QByteArray& path() const { return path_; }

    // Reads the file named `canonical` (the writer's case) or `asked`, or any entry
    // equal to them regardless of case. Fails with ENOENT when there is none.
    storefiles::ReadOutcome read(const QString& canonical, const QString& asked);

    // Replaces the file equal to `canonical` regardless of case, keeping the name
    // it has on disk, or creates it as `canonical`; entries differing from it only
    // in case are removed afterwards, so one name is left. Atomic as
    // storefiles::replaceFile(). Returns an empty text or the reason it failed.
    QString replace(const QString& canonical, QByteArrayView data);

    // Whether any entry equals `name` regardless of case.
    bool contains(const QString& name);

    // The name on disk of the entry equal to `name` regardless of case, preferring
    // the exact spelling, then the writer's, then a directory; nothing when there
    // is none, with `error` set to why (ENOENT, or the error listing gave).
    std::optional<QString> findEntry(const QString& name, int* error);

    // Every entry equal to `name` regardless of case, freshly listed, sorted.
    QStringList variants(const QString& name);

    // Every entry of the directory, freshly listed, grouped by folded name with
    // each group sorted. Fails with the listing's error text in `error`.
    QHash<QString, QStringList> listing(QString* error);

private:
    // Lists the directory: every entry when `everything`, else those the index
    // keeps. 0 or the errno listing gave; `stamp` and `inode` describe the
    // directory as it was just before.
    int list(bool everything, QHash<QString, QStringList>& entries, struct timespec& stamp,
             ino_t& inode) const;
    // Rebuilds the index; 0 or an errno.
    int rescan();
    // Rebuilds the index when the directory changed since it was built or last
    // written by this object; 0 or an errno.
    int refreshIfChanged();
    // Remembers the directory's change stamp after this object changed it.
    void rememberStamp();
    bool exists(const QString& name) const;
    QByteArray encodedPath(const QString& name) const;

    QByteArray path_;
    bool scanned_ = false;
    QHash<QString, QStringList> index_;  // folded name -> names on disk, sorted
    struct timespec stamp_ = {};         // the directory's mtime when the index was current
    ino_t inode_ = 0;
};

}  // namespace mindlark
