#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <optional>

#include "accounts/fields.h"
#include "accounts/userscan.h"
#include "lock/lockwait.h"

namespace mindlark {

// The account store below one working directory: the first-run marker "num.qk",
// the directory "QK" with the counter "QK/num.qk" and five RTF field files per
// user. Every name is matched regardless of letter case, every write replaces its
// file atomically, owner-only or, in a folder shared with a group, open to that
// group (see storemodes.h), and every failure throws StoreError naming the
// operation and the file. The object holds the store directory open once found:
// its reads, writes and lock all go to that one directory. It may cache directory
// listings. One object serves one thread; separate objects and processes, on one
// machine or several sharing a folder, may share a store (see StoreLock).
class AccountStore {
public:
    // A store whose relative paths resolve against `workingDirectory`.
    explicit AccountStore(QString workingDirectory);
    ~AccountStore();
    AccountStore(const AccountStore&) = delete;
    AccountStore& operator=(const AccountStore&) = delete;

    // The load step's first look at the store: gives the player's own marker, and
    // once the player's own files of a store looser than its folder allows, what
    // the folder asks for (see storemodes.h), then says whether the first-run
    // marker "num.qk" asks for the set-up: it holds exactly "0". Throws
    // StoreError when the marker is missing or unreadable.
    bool isFirstRun() const;
    // The first-run set-up: creates "QK" (0700; 2770 in a group folder) below
    // the working directory when missing, then, under the store's lock and only
    // while the marker still says "0", removes temporaries of dead writes, writes
    // a missing counter as one past the highest user with any file ("0" in a new
    // store) and sets the marker to "1". An existing counter is kept, damaged or
    // not. Throws StoreError.
    void setUp();

    // The counter file's text, as stored ("0", "12", or whatever a damaged file
    // holds). A counter that cannot be read, missing or no document, is read again
    // for a moment (a share may show it missing while another machine replaces
    // it), then rebuilt under the store's lock as one past the highest user with
    // any file, and a note says so (see takeNotes()).
    QString loadCounterText() const;
    // The one rule for a counter's text: read strictly, a whole number from 0 up
    // that leaves room for one more user. Nothing when the text is no user count.
    static std::optional<std::int64_t> userCountOf(QStringView counterText);
    // What every report of such a counter says: QK/num.qk holds "...", which is
    // not a user count.
    static QString notAUserCount(const QString& counterText);
    // Loads the counter and judges it by userCountOf(). Throws StoreError when it
    // cannot be read or is no user count.
    std::int64_t loadUserCount() const;

    // One past the highest user from `from` up to `end` - 1 that has any file,
    // probing exact names and never listing: a few probes find where the users
    // end, however far beyond them a counter runs. `from` when none has.
    std::int64_t usersWithFiles(std::int64_t from, std::int64_t end) const;

    // Reads one field file of `user` (sign-in reads Name, later Age).
    QString readField(Field field, std::int64_t user) const;
    // Reads `fields` of users 0 to `end` - 1 in turn, with reads in flight ahead
    // when the store lies on a file server.
    UserScan scanUsers(QList<Field> fields, std::int64_t end) const;

    // What the store did or found that the player should hear of, since last
    // asked: a counter rebuilt, who besides the player can read the passwords (a
    // group folder's group; anyone, on a disk that keeps nothing private).
    QStringList takeNotes();

    // How changes wait for another copy holding the store's lock (bounded; see LockWait).
    void setLockWait(LockWait wait);

    // Writes one new user while holding the store's exclusive lock, with the
    // counter reloaded from disk under that lock (and raised first past any user
    // files beyond it), so copies sharing a store never hand out one number twice:
    // the raised counter as a temporary, the five files (flushed, and written
    // over only what an interrupted registration of that number left), then the
    // counter in place. After a fault in those last steps, or a hold-up
    // that may have cost the lock, it looks again under the lock: an account that
    // was made is reported made, one that was not leaves nothing. Throws
    // StoreError, before writing anything, when a value could not be read back
    // (see fitsInStore()), when the wait for the lock sees no progress (or the
    // disk is read-only or full), or when loadUserCount() would; and when the
    // account was not made. Returns the counter text this registration raised.
    QString registerUser(const UserFields& fields);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace mindlark
