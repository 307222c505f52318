#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <optional>

#include "accounts/storemodes.h"
#include "outcome/outcome.h"

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
// readFile() of `name` relative to the open directory `directory`. The bytes go
// into `buffer`'s allocation when nothing else shares it, so a caller reading
// many files hands the last one's bytes back in.
Outcome<QByteArray> readFileAt(int directory, const QByteArray& name, QByteArray buffer = {});

// The plain text of a store file's bytes; a failure (errno 0) saying "not a valid
// store file (...)" when they are no RTF document.
Outcome<QString> documentText(QByteArrayView bytes);

// What replaceFile() asks just before it puts a finished file in place: a
// failure there discards the temporary and leaves the old file untouched.
using BeforePublish = std::function<Outcome<>()>;

// Writes `data` to a new temporary for `name` in the open directory `directory`
// (0600, O_EXCL, owned by the directory's owner, named for this copy of the game
// so that no other copy, on this machine or another, ever takes it for its own)
// and flushes it. Returns the temporary's name; on failure nothing is left.
Outcome<QByteArray> writeTemporary(int directory, const QByteArray& name, QByteArrayView data);
// writeTemporary() with the modes storemodes::modesFor() gave for `directory`,
// for a caller writing many files at once.
Outcome<QByteArray> writeTemporary(int directory, const QByteArray& name, QByteArrayView data,
                                   const storemodes::StoreModes& modes);

// A temporary made empty, open for writing, as writeTemporary() makes one: on a
// file server its making need not wait for its bytes to be known.
struct BlankTemporary {
    QByteArray name;
    int fd = -1;
};
// Makes a blank temporary for `name` in `directory`.
Outcome<BlankTemporary> makeTemporary(int directory, const QByteArray& name,
                                      const storemodes::StoreModes& modes);
// Writes `data` to the blank temporary `blank`, closing it, and flushes it; its
// name, or on failure nothing left.
Outcome<QByteArray> fillTemporary(int directory, const BlankTemporary& blank, QByteArrayView data,
                                  const storemodes::StoreModes& modes);
// Closes and removes a blank temporary that will not be filled.
void dropTemporary(int directory, const BlankTemporary& blank);

// Writes `data` to the new file `name` in the open directory `directory`, made
// as writeTemporary() makes a temporary, and flushes it: for a file that no
// reader opens until another one, put in place after it, names it. Fails with
// EEXIST when a file has the name; on any failure nothing of it is left.
Outcome<> writeNew(int directory, const QByteArray& name, QByteArrayView data,
                   const storemodes::StoreModes& modes);

// Gives the temporary `temporary` the name `name` in `directory`, over whatever
// file has it (removed first where the client refuses to rename over a file).
// The temporary is left on failure, for the caller to remove.
Outcome<> publish(int directory, const QByteArray& temporary, const QByteArray& name);

// Replaces `name` in the open directory `directory` by a file holding `data`,
// atomically: a temporary in the same directory (O_EXCL, given the owner, group
// and mode the folder asks for: see storemodes.h), named for this copy of the
// game so that no other copy, on this machine or another, ever takes it for its
// own, is written, flushed and renamed over the old one, then the directory is
// flushed. Where the file system keeps no Unix modes or owners (FAT, exFAT, some
// shares) the file is written all the same. Fails, writing nothing, when the
// file could not be given what its folder asks for or `beforePublish` fails. On
// failure the old file is untouched and the temporary removed.
Outcome<> replaceFile(int directory, const QByteArray& name, QByteArrayView data,
                      const BeforePublish& beforePublish = {});

// Creates the directory `path` with what its parent folder asks for (0700, or
// 2770 and the group in a group folder: see storemodes.h) and flushes the parent;
// fails with EEXIST when anything has that name, and leaves nothing when the
// directory could not be given what the folder asks for.
Outcome<> makeDirectory(const QByteArray& path);

// Flushes a directory's entries to disk.
Outcome<> syncDirectory(int directory);

// Whether the open directory `directory` lies on a file server (NFS, SMB, FUSE
// such as sshfs, ...), where every read waits on the network.
bool isOnFileServer(int directory);

// Opens the directory at `path` (relative to `at`), refusing a symbolic link.
Outcome<int> openDirectory(int at, const QByteArray& path);

}  // namespace mindlark::storefiles
