#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "accounts/fields.h"
#include "accounts/storeinventory.h"
#include "outcome/outcome.h"

namespace mindlark {

// A read-only look at the store below one working directory, for a tool that
// reports on a damaged store instead of stopping at its first fault: every
// answer is an Outcome, and nothing here ever writes.
class StoreInspector {
public:
    // Where an entry lies: the working directory (the marker, the store
    // directory) or the store directory (the counter, the field files).
    enum class Place { WorkingDirectory, StoreDirectory };

    // The store whose relative paths resolve against `workingDirectory`.
    explicit StoreInspector(const QString& workingDirectory);
    ~StoreInspector();
    StoreInspector(const StoreInspector&) = delete;
    StoreInspector& operator=(const StoreInspector&) = delete;

    // The marker's name, "num.qk", and the store directory's, "QK".
    static QString markerName();
    static QString storeDirectoryName();
    // The name registration gives one field file of `user`, e.g. "mup%qk 7du.qk".
    static QString fieldFileName(Field field, std::int64_t user);

    // Every spelling of `name` in the working directory, freshly listed and sorted.
    Outcome<QStringList> spellings(const QString& name);
    // The store directory's name on disk, the one every lookup settles on; fails
    // with ENOENT when there is none.
    Outcome<QString> storeDirectory();
    // Every entry of the store directory, sorted by what it stands for. A name a
    // share lists mangled ("%" as "%25") is taken as it is on disk when that
    // name exists exactly.
    Outcome<StoreInventory> inventory();
    // What the store's lock says of the copies holding or waiting for it, one
    // line each, or why the store directory could not be opened.
    Outcome<QStringList> lockNotes();
    // The plain text of the entry named exactly `nameOnDisk` in `place`.
    Outcome<QString> readText(Place place, const QString& nameOnDisk);

    // The plain text of the store file at `path`, its name matched regardless of case.
    static Outcome<QString> readFileAt(const QString& path);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace mindlark
