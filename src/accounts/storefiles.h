#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Whole-file reads and atomic replacement for the store's small files. Paths are
// encoded file-system paths; failures come back as the system's own error text so
// the caller can name the file the way the player knows it.
namespace mindlark::storefiles {

// The largest file accepted as a store file; real ones hold a few hundred bytes.
inline constexpr qint64 kMaxFileSize = 1 << 20;

// The bytes of a file, or why they could not be read.
struct ReadOutcome {
    QByteArray data;
    int error = 0;   // errno of the failure, or 0
    QString reason;  // the message to show when error is not 0
    bool ok() const { return error == 0; }
};

// Reads the regular file at `path` whole. Never blocks on a FIFO or device and
// refuses files larger than kMaxFileSize, so a hostile store cannot hang the program.
ReadOutcome readFile(const QByteArray& path);

// Replaces `directory`/`name` by a file holding `data`, atomically: a temporary
// file in the same directory (0600, O_EXCL) is written, flushed and renamed over
// the old one, then the directory is flushed. Returns an empty text, or the reason
// it failed; on failure the old file is untouched and the temporary removed.
QString replaceFile(const QByteArray& directory, const QByteArray& name, QByteArrayView data);

// Creates the directory `path` owner-only (0700) and flushes its parent. Returns 0
// or the errno of the failure (EEXIST when anything has that name).
int makeDirectory(const QByteArray& path);

// Flushes a directory's entries to disk; returns an empty text or the reason.
QString syncDirectory(const QByteArray& path);

// Whether `name` is a temporary that replaceFile() leaves behind when the process
// dies before the rename; such names never fold to a store name.
bool isTemporaryName(QStringView name);

// Called once the temporary file is complete, just before the rename. Tests
// install a hook that throws, which stands for a crash at that moment: the
// exception passes through replaceFile() without any clean-up.
using BeforeRenameHook = void (*)(const QByteArray& temporaryPath, const QByteArray& finalPath);
// Installs `hook` for the whole process (nullptr removes it).
void setBeforeRenameHook(BeforeRenameHook hook);

// Whether writes are flushed to disk before they count as done (the default).
// Only tools generating large throwaway stores switch it off, for speed.
void setDurableWrites(bool durable);

}  // namespace mindlark::storefiles
