#pragma once

#include "accounts/accountstore.h"
#include "accounts/storeerror.h"
#include "lock/copyidentity.h"
#include "lock/storelock.h"
#include "lock/temporaries.h"
#include "rtf/rtf.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace mindlark::testing {

// Writes `text` as a store document at `path`, creating directories on the way.
inline void putStoreFile(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("put");
    file.write(rtf::write(text));
}

// What the game's start does before its first read: isFirstRun(), then setUp()
// when it says so. Returns whether the set-up ran.
inline bool runFirstRunSetup(AccountStore& store) {
    if (!store.isFirstRun())
        return false;
    store.setUp();
    return true;
}

// A throwaway working directory with helpers to lay out store files by hand.
class ScratchStore {
public:
    ScratchStore() = default;

    // The working directory.
    QString path() const { return dir_.path(); }
    // `relative` below the working directory.
    QString at(const QString& relative) const { return dir_.filePath(relative); }

    // Writes raw bytes, creating directories on the way.
    void putBytes(const QString& relative, const QByteArray& bytes) const {
        const QString full = at(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("put");
        file.write(bytes);
    }
    // Writes `text` as a store document.
    void put(const QString& relative, const QString& text) const {
        putStoreFile(at(relative), text);
    }
    // The plain text of the store document at exactly `relative`.
    QString text(const QString& relative) const { return rtf::read(bytes(relative)).text; }
    // The raw bytes of a file, or a null array when it cannot be read.
    QByteArray bytes(const QString& relative) const {
        QFile file(at(relative));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }
    // The sorted entries of a directory, hidden ones included.
    QStringList entries(const QString& relative) const {
        return QDir(at(relative))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }

private:
    QTemporaryDir dir_;
};

// A store that has been set up, with the counter holding `counter`.
inline void setUpStore(const ScratchStore& scratch, const QString& counter = QStringLiteral("0")) {
    scratch.put("num.qk", "1");
    scratch.put("QK/num.qk", counter);
}

// A set-up store holding the given accounts, registered in order through the store.
inline void withUsers(const ScratchStore& scratch, const QList<UserFields>& users) {
    setUpStore(scratch);
    AccountStore store(scratch.path());
    for (const UserFields& user : users)
        store.registerUser(user);
}

// A registration whose every field carries `tag`.
inline UserFields someone(const QString& tag) {
    return UserFields{"Name " + tag, "3" + tag, tag + "@example.org", "user" + tag, "pw" + tag};
}

// What a copy of the game on `copy`'s machine writes into its token in the store's
// lock, at its `beat`th refresh.
inline QString lockRecord(const CopyIdentity& copy, int beat = 0) {
    return QStringLiteral(
               "mindlark store lock; host=%1; boot=%2; pid=%3; started=; token=t%3; "
               "since=2026-01-01T00:00:00Z; beat=%4")
        .arg(copy.host, copy.boot)
        .arg(copy.pid)
        .arg(beat);
}
// The name `copy` gives its token, and its entry in the queue of waiters.
inline QString tokenName(const CopyIdentity& copy) {
    return QStringLiteral("%1.%2.%3.1")
        .arg(CopyIdentity::fileNameHost(copy.host), temporaries::bootTag(copy.boot))
        .arg(copy.pid);
}
// Makes the store's lock held by `copy`, or refreshes it (a new `beat`).
inline void holdLock(const ScratchStore& scratch, const CopyIdentity& copy, int beat = 0) {
    scratch.put("QK/" + StoreLock::directoryName() + u'/' + tokenName(copy),
                lockRecord(copy, beat));
}
// Puts `copy` in the queue of copies waiting for the lock, or refreshes it.
inline void queueFor(const ScratchStore& scratch, const CopyIdentity& copy, int beat = 0) {
    scratch.put("QK/" + StoreLock::queueName() + "/000000000001-" + tokenName(copy),
                lockRecord(copy, beat));
}
// Ends whatever lock a test made.
inline void releaseLock(const ScratchStore& scratch) {
    QDir(scratch.at("QK/" + StoreLock::directoryName())).removeRecursively();
}
// A store with `users` registered (user i carries the tag i) and a fake clock
// that each wait of a store configure()d here moves on, calling `atEachPause`.
struct ClockedStore {
    ScratchStore scratch;
    std::int64_t now = 0;
    QStringList notices;
    std::function<void()> atEachPause = [] {};

    explicit ClockedStore(int users) {
        QList<UserFields> registered;
        for (int i = 0; i < users; ++i)
            registered += someone(QString::number(i));
        withUsers(scratch, registered);
    }
    void configure(AccountStore& store) {
        LockWait wait;
        wait.clock = [this] { return now; };
        wait.pause = [this](int ms) {
            now += ms;
            atEachPause();
        };
        wait.onWaiting = [this](const QString& notice) { notices += notice; };
        store.setLockWait(wait);
    }
};

// A copy of the game on another machine.
inline CopyIdentity machine(const QString& host) {
    return CopyIdentity{host, host + "-boot", 77, {}};
}

// The message of the StoreError `action` throws, or "<no error>".
inline QString storeErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const StoreError& error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

}  // namespace mindlark::testing
