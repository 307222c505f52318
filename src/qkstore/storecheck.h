#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace mindlark::qkstore {

// What `qkstore check` found in a store.
struct CheckReport {
    QStringList problems;     // missing, unreadable or inconsistent things, one line each
    QStringList notes;        // harmless findings worth knowing
    std::int64_t users = -1;  // the counter's value, or -1 when it could not be read
};

// Inspects the store below `workingDirectory`: the first-run marker, the store
// directory, the counter, the five files of every user below it, files beyond
// it and names that differ only in case. Reads every store file once; never
// follows the counter further than the files that exist.
CheckReport checkStore(const QString& workingDirectory);

}  // namespace mindlark::qkstore
