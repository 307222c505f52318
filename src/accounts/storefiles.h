#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include "accounts/outcome.h"

// Whole-file reads and atomic replacement for the store's small files. Paths are
// encoded file-system paths; failures carry the system's own error text so the
// caller can name the file the way the player knows it.
namespace mindlark::storefiles {

// The largest file accepted as a store file; real ones hold a few hundred bytes.
inline constexpr qint64 kMaxFileSize = 1 << 20;

// Reads the regular file at `path` whole. Never blocks on a FIFO or device and
// refuses files larger than kMaxFileSize, so a hostile store cannot hang the program.
Outcome<QByteArray> readFile(const QByteArray& path);
// The same for the file `name` relative to the directory descriptor `directory`
// (AT_FDCWD: a path), into `into`, whose allocation is kept from read to read.
Outcome<> readFileInto(int directory, const char* name, QByteArray& into);

// The plain text of a store file's bytes; a failure (errno 0) saying "not a valid
// store file (...)" when they are no RTF document.
Outcome<QString> documentText(QByteArrayView bytes);

// Replaces `directory`/`name` by a file holding `data`, atomically: a temporary
// file in the same directory (0600, O_EXCL) is written, flushed and renamed over
// the old one, then the directory is flushed. On failure the old file is
// untouched and the temporary removed.
Outcome<> replaceFile(const QByteArray& directory, const QByteArray& name, QByteArrayView data);

// Creates the directory `path` owner-only (0700) and flushes its parent; fails
// with EEXIST when anything has that name.
Outcome<> makeDirectory(const QByteArray& path);

// Flushes a directory's entries to disk.
Outcome<> syncDirectory(const QByteArray& path);

// Whether `name` is a temporary that replaceFile() leaves behind when the process
// dies before the rename; such names never fold to a store name.
bool isTemporaryName(QStringView name);

}  // namespace mindlark::storefiles
