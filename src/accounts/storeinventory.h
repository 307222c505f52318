#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <map>

#include "outcome/outcome.h"

namespace mindlark {

// Every entry of one store directory, sorted by what its name stands for. Built
// from a single listing, so inspecting a store costs the same however damaged it
// is, whatever its counter claims.
class StoreInventory {
public:
    // The names on disk of one user's files, per field in the order registration
    // writes them; more than one name means spellings that differ only in case.
    using UserFiles = std::array<QStringList, 5>;

    // Lists the directory at the encoded path `directory`.
    static Outcome<StoreInventory> scan(const QByteArray& directory);
    // A store name on disk, and how a listing showed it.
    struct ListedAs {
        QString name;
        QString listed;
    };
    // The entries of a listing, grouped by folded name (FoldedDirectory::listing()),
    // with the names a listing showed otherwise than they are on disk.
    static StoreInventory of(const QHash<QString, QStringList>& listing,
                             QList<ListedAs> listedAs = {});

    // Every spelling of the counter's name present.
    const QStringList& counterNames() const { return counterNames_; }
    // Every user number with at least one file, in ascending order.
    const std::map<std::int64_t, UserFiles>& users() const { return users_; }
    // What a lost counter is written again as: one past the highest user with any
    // file, so that no number with files is handed out again; 0 when none has.
    std::int64_t rebuiltCounter() const;
    // Temporaries left behind by writes that never finished.
    const QStringList& temporaries() const { return temporaries_; }
    // The entries of the store's lock, when a copy holds it, waits for it or died doing so.
    const QStringList& lockEntries() const { return lockEntries_; }
    // Store names that the listing showed otherwise (a share that lists "%" as
    // "%25"), found by their exact names.
    const QList<ListedAs>& listedAs() const { return listedAs_; }
    // Entries that are no store file (names the program never reads).
    const QStringList& others() const { return others_; }

    // The spelling among `names` that a lookup of `canonical` settles on.
    static QString preferred(const QStringList& names, const QString& canonical);

private:
    QStringList counterNames_;
    std::map<std::int64_t, UserFiles> users_;
    QStringList temporaries_;
    QStringList lockEntries_;
    QList<ListedAs> listedAs_;
    QStringList others_;
};

}  // namespace mindlark
