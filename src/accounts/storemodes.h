#pragma once

#include <sys/stat.h>
#include <sys/types.h>
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

#include "outcome/outcome.h"

// Who may read what the store writes, decided by the folder it is written in. A
// private folder keeps every file to its owner (files 0600, directories 0700). A
// folder shared with a group, as a lab sets one up (setgid, or writable by its
// group but not by all; like git's core.sharedRepository=group), gives every
// file and directory to that group (files 0660, directories 2770): its members
// register and sign in on one store, whoever made the folder, and others get
// nothing.
namespace mindlark::storemodes {

// What a folder asks of everything written in it.
struct StoreModes {
    mode_t file = 0600;       // the mode every file written there is given
    mode_t directory = 0700;  // the mode every directory made there is given
    bool shared = false;      // shared with `group`: its members read and write there
    gid_t group = 0;          // the folder's group, which every entry carries when shared
    uid_t owner = 0;          // the folder's owner
    bool inherits = false;    // new entries take the folder's group unasked (setgid)
};

// The modes a folder of this owner, group and mode asks for.
StoreModes modesOf(const struct stat& folder);
// modesOf() the open directory `directory`; a private folder of this user when
// it cannot be looked at.
StoreModes modesFor(int directory);

// Whether this process may write in a folder with `modes`: fails (EPERM, saying
// what to do) where the folder is private to another user, who could not read
// what this one writes; the superuser gives its files to the folder's owner.
Outcome<> mayWrite(const StoreModes& modes);

// Gives `fd`, a file (or with `isDirectory` a directory) this process has just
// made in a folder with `modes`, the owner, group and mode that folder asks for.
// Fails, saying what to do, when the group cannot be given to it (this user is
// not in the group, say); a disk that keeps no modes or owners is taken as it is.
Outcome<> give(int fd, const StoreModes& modes, bool isDirectory);

// What mending one file came to.
enum class Mend {
    Nothing,  // nothing due: it is right, not this user's, or not a regular file
    Mended,   // given what its folder asks for
    Unkept,   // the disk keeps no modes: it stays as it was
    Failed,   // it could not be changed, for another reason
};
// Gives the regular file `name` in the open directory `directory` what a folder
// with `modes` asks for, where it is this user's and open to more than that (or,
// in a group folder, not yet open to the group). Never follows a symbolic link.
Mend mendFile(int directory, const QByteArray& name, const StoreModes& modes);

// Mends the open directory `directory` once, when it is this user's and open to
// more than modesFor() it allows (or a group folder not yet marked setgid): first
// every file of `names()` (encoded names in it) that needs it, `inFlight()` at a
// time (0: one after another), then the directory itself, so that a mend cut
// short is repeated and a finished one costs later calls one fstat(). Whether the
// disk keeps modes: where it does not, nothing is changed.
bool mend(int directory, const std::function<QList<QByteArray>()>& names,
          const std::function<int()>& inFlight);

// Who can read the passwords in the open directory `directory`, for the player
// to hear once: nothing when only its owner can; the members of its group, named,
// in a group folder; anyone who can read the disk when it keeps no modes
// (`keepsModes` false, as mend() said) or stays open to others.
QString privacyNote(int directory, bool keepsModes);

}  // namespace mindlark::storemodes
