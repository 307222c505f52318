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

// Why a symbolic link in the store is refused: it may lead anywhere, so the store
// never follows one.
inline constexpr char16_t kLinkReason[] = u"a symbolic link, which the game does not follow";

// Reads the regular file at `path` whole. Never blocks on a FIFO or device, never
// follows a symbolic link (ELOOP, kLinkReason) and refuses files larger than any
// document the RTF reader takes, so a hostile store cannot hang the program.
Outcome<QByteArray> readFile(const QByteArray& path);
// readFile() of `name` relative to the open directory `directory`.
Outcome<QByteArray> readFileAt(int directory, const QByteArray& name);
// The same into `into`, whose allocation is kept from one read to the next.
Outcome<> readFileInto(int directory, const char* name, QByteArray& into);

// The plain text of a store file's bytes; a failure (errno 0) saying "not a valid
// store file (...)" when they are no RTF document.
Outcome<QString> documentText(QByteArrayView bytes);

// Replaces `name` in the open directory `directory` by a file holding `data`,
// atomically: a temporary in the same directory (0600, O_EXCL, owned by the
// directory's owner) is written, flushed and renamed over the old one, then the
// directory is flushed. Callers hold the store's lock, so a temporary of the same
// name is a dead write's and is removed first. Fails, writing nothing, when the
// file could not be given to the directory's owner. On failure the old file is
// untouched and the temporary removed.
Outcome<> replaceFile(int directory, const QByteArray& name, QByteArrayView data);

// Creates the directory `path` owner-only (0700) and flushes its parent; fails
// with EEXIST when anything has that name.
Outcome<> makeDirectory(const QByteArray& path);

// Flushes a directory's entries to disk.
Outcome<> syncDirectory(int directory);

// Opens the directory at `path` (relative to `at`), refusing a symbolic link.
Outcome<int> openDirectory(int at, const QByteArray& path);

// Whether `name` is a temporary that replaceFile() leaves behind when the process
// dies before the rename; such names never fold to a store name.
bool isTemporaryName(QStringView name);

}  // namespace mindlark::storefiles
