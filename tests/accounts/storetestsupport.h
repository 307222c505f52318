#pragma once

#include "accounts/accountstore.h"
#include "accounts/storeerror.h"
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
