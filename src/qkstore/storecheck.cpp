#include "qkstore/storecheck.h"

#include "accounts/foldeddirectory.h"
#include "accounts/numbers.h"
#include "rtf/rtf.h"
#include "accounts/storefiles.h"
#include "accounts/storeinventory.h"
#include "accounts/storenames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <optional>

namespace mindlark::qkstore {

namespace {

const QString kDirectory = QString::fromUtf16(storenames::kDirectory);
const QString kCounterName = QString::fromUtf16(storenames::kCounterName);

QString quoted(const QString& text) {
    constexpr qsizetype kShown = 40;
    QString shown = text.left(kShown);
    shown.replace(u'\r', u' ').replace(u'\n', u' ');
    return u'"' + shown + (text.size() > kShown ? QStringLiteral("...\"") : QStringLiteral("\""));
}

QString quotedList(const QStringList& names) {
    QStringList shown;
    for (const QString& name : names)
        shown += u'"' + name + u'"';
    return shown.join(QStringLiteral(", "));
}

class Checker {
public:
    explicit Checker(const QString& workingDirectory)
        : root_(QFile::encodeName(QDir(workingDirectory).absolutePath())) {}

    CheckReport run() {
        const std::optional<QString> marker = checkMarker();
        const std::optional<QString> storeName = checkDirectory(marker);
        if (!storeName)
            return std::move(report_);
        QString error;
        const QString storePath = QFile::decodeName(root_.path()) + u'/' + *storeName;
        const auto inventory = StoreInventory::scan(storePath, &error);
        if (!inventory) {
            report_.problems += QStringLiteral("unreadable: %1: %2").arg(*storeName, error);
            return std::move(report_);
        }
        store_ = QFile::encodeName(storePath);
        storeName_ = *storeName;
        checkCounter(*inventory);
        checkUsers(*inventory);
        for (const QString& name : inventory->temporaries()) {
            report_.notes +=
                QStringLiteral("left over from an interrupted write: %1").arg(shown(name));
        }
        for (const QString& name : inventory->others()) {
            report_.notes += QStringLiteral("not a store file: %1").arg(shown(name));
        }
        return std::move(report_);
    }

private:
    QString shown(const QString& name) const { return storeName_ + u'/' + name; }

    // The plain text of a file, or nothing with a problem recorded.
    std::optional<QString> readText(const QByteArray& path, const QString& name) {
        const storefiles::ReadOutcome outcome = storefiles::readFile(path);
        if (!outcome.ok()) {
            report_.problems += QStringLiteral("unreadable: %1: %2").arg(name, outcome.reason);
            return std::nullopt;
        }
        const rtf::ReadResult document = rtf::read(outcome.data);
        if (!document.ok) {
            report_.problems += QStringLiteral("unreadable: %1: not a valid store file (%2)")
                                    .arg(name, document.error);
            return std::nullopt;
        }
        return document.text;
    }

    // Reports duplicates among `names` and reads the one a lookup would use.
    std::optional<QString> readOne(const QStringList& names, const QString& canonical,
                                   const QByteArray& directory, const QString& prefix) {
        const QString chosen = StoreInventory::preferred(names, canonical);
        if (names.size() > 1) {
            report_.problems += QStringLiteral("duplicate: %1%2 exists as %3")
                                    .arg(prefix, canonical, quotedList(names));
        }
        return readText(directory + '/' + QFile::encodeName(chosen), prefix + chosen);
    }

    std::optional<QString> checkMarker() {
        const QStringList names = root_.variants(kCounterName);
        if (names.isEmpty()) {
            report_.problems +=
                QStringLiteral("missing: %1 (the first-run marker)").arg(kCounterName);
            return std::nullopt;
        }
        const auto text = readOne(names, kCounterName, root_.path(), QString());
        if (text && *text != u"0" && *text != u"1") {
            report_.problems += QStringLiteral("inconsistent: %1 holds %2, neither \"0\" nor \"1\"")
                                    .arg(kCounterName, quoted(*text));
        }
        return text;
    }

    std::optional<QString> checkDirectory(const std::optional<QString>& marker) {
        const QStringList names = root_.variants(kDirectory);
        if (names.isEmpty()) {
            if (marker == u"0") {
                report_.notes +=
                    QStringLiteral("the store is not set up yet; the first start will do it");
            } else {
                report_.problems +=
                    QStringLiteral("missing: %1 (the store directory)").arg(kDirectory);
            }
            return std::nullopt;
        }
        if (names.size() > 1) {
            report_.problems +=
                QStringLiteral("duplicate: %1 exists as %2").arg(kDirectory, quotedList(names));
        }
        int error = 0;
        const auto name = root_.findEntry(kDirectory, &error);
        if (!name) {
            report_.problems +=
                QStringLiteral("unreadable: %1: %2").arg(kDirectory, qt_error_string(error));
            return std::nullopt;
        }
        if (!QFileInfo(QFile::decodeName(root_.path()) + u'/' + *name).isDir()) {
            report_.problems += QStringLiteral("inconsistent: %1 is not a directory").arg(*name);
            return std::nullopt;
        }
        if (marker == u"0") {
            report_.notes +=
                QStringLiteral("the marker still says \"0\"; the next start keeps this store");
        }
        return name;
    }

    void checkCounter(const StoreInventory& inventory) {
        if (inventory.counterNames().isEmpty()) {
            report_.problems +=
                QStringLiteral("missing: %1 (the user counter)").arg(shown(kCounterName));
            return;
        }
        const auto text =
            readOne(inventory.counterNames(), kCounterName, store_, storeName_ + u'/');
        if (!text)
            return;
        const auto count = readNumberStrictly(*text);
        if (!count || *count < 0) {
            report_.problems +=
                QStringLiteral("inconsistent: %1 holds %2, which is not a user count")
                    .arg(shown(kCounterName), quoted(*text));
            return;
        }
        report_.users = *count;
    }

    void reportGap(std::int64_t first, std::int64_t last) {
        if (first > last)
            return;
        if (first == last) {
            report_.problems += QStringLiteral("missing: all five files of user %1").arg(first);
        } else {
            report_.problems +=
                QStringLiteral("missing: all five files of users %1 to %2").arg(first).arg(last);
        }
    }

    void checkUsers(const StoreInventory& inventory) {
        const std::int64_t count = report_.users;
        std::int64_t next = 0;
        for (const auto& [user, files] : inventory.users()) {
            if (count >= 0)
                reportGap(next, std::min(user, count) - 1);
            next = user + 1;
            for (std::size_t i = 0; i < files.size(); ++i) {
                const QString canonical = storenames::writeName(storenames::kFields[i], user);
                if (files[i].isEmpty()) {
                    if (count >= 0 && user < count) {
                        report_.problems += QStringLiteral("missing: %1").arg(shown(canonical));
                    }
                    continue;
                }
                if (count >= 0 && user >= count) {
                    for (const QString& name : files[i]) {
                        report_.problems +=
                            QStringLiteral("beyond the counter: %1").arg(shown(name));
                    }
                    continue;
                }
                readOne(files[i], canonical, store_, storeName_ + u'/');
            }
        }
        if (count >= 0)
            reportGap(next, count - 1);
    }

    FoldedDirectory root_;
    QByteArray store_;
    QString storeName_;
    CheckReport report_;
};

}  // namespace

CheckReport checkStore(const QString& workingDirectory) {
    return Checker(workingDirectory).run();
}

}  // namespace mindlark::qkstore
