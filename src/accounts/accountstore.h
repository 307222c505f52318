#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <optional>

#include "accounts/fields.h"

namespace mindlark {

// The user-name and password files of one user, as a sign-in reads them.
struct Credentials {
    QString userName;
    QString password;
};

// The account store below one working directory: the first-run marker "num.qk",
// the directory "QK" with the counter "QK/num.qk" and five RTF field files per
// user. Every name is matched regardless of letter case, every write replaces its
// file atomically and owner-only, and every failure throws StoreError naming the
// operation and the file. The object is cheap; it may cache directory listings.
// One object serves one thread; separate objects and processes may share a store.
class AccountStore {
public:
    // A store whose relative paths resolve against `workingDirectory`.
    explicit AccountStore(QString workingDirectory);
    ~AccountStore();
    AccountStore(const AccountStore&) = delete;
    AccountStore& operator=(const AccountStore&) = delete;

    // The directory all relative store paths resolve against.
    const QString& workingDirectory() const;

    // " 0" for user 0, " 12" for user 12: the label between prefix and suffix.
    static QString numberLabel(std::int64_t user);
    // The path registration writes, e.g. "QK/mup%qk 7du.qk".
    static QString writePath(Field field, std::int64_t user);
    // The path sign-in reads, e.g. "QK/mup%qk 7dU.qk" (same file, other case).
    static QString readPath(Field field, std::int64_t user);

    // Plain text of the RTF document at `relativePath` ('/' or '\\' between
    // names), every name matched regardless of case. Throws StoreError when
    // missing, unreadable or not RTF, or when the path leads out of the directory.
    QString load(const QString& relativePath) const;
    // Writes `text` as an RTF document to `relativePath`, replacing a file whose
    // name differs only in case; atomic (temporary file, fsync, rename) and 0600.
    // Takes no lock: registration and first-run set-up lock the store themselves.
    void save(const QString& relativePath, const QString& text) const;

    // Whether the first-run marker "num.qk" asks for the set-up: it holds exactly
    // "0". Throws StoreError when it is missing or unreadable.
    bool isFirstRun() const;
    // The first-run set-up: creates whatever is missing of "QK" (0700) below the
    // working directory and the counter "0", then sets the marker to "1". An
    // existing directory or counter is kept; the counter is checked and written
    // under the store's lock. Throws StoreError.
    void setUp();
    // isFirstRun(), then setUp() when it says so; returns whether it ran.
    bool runFirstRunSetup();

    // The counter file's text, as stored ("0", "12", or whatever a damaged file holds).
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

    // Reads the user-name file, then the password file, of `user`.
    Credentials readCredentials(std::int64_t user) const;
    // Reads one field file of `user` (sign-in reads Name, later Age).
    QString readField(Field field, std::int64_t user) const;

    // Writes one new user in the store's order (name, age, e-mail, user name,
    // password, then the raised counter) while holding the store's exclusive
    // lock, with the counter reloaded from disk under that lock, so copies of the
    // program sharing a store never hand out one number twice. Throws StoreError,
    // before writing anything, when loadUserCount() would. Returns the new
    // counter text.
    QString registerUser(const UserFields& fields);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace mindlark
