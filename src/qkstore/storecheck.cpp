#include "qkstore/storecheck.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

#include "accounts/accountstore.h"
#include "accounts/storeerror.h"
#include "accounts/storeinspector.h"

namespace mindlark::qkstore {

namespace {

using Place = StoreInspector::Place;

QString quotedList(const QStringList& names) {
    QStringList shown;
    for (const QString& name : names)
        shown += u'"' + name + u'"';
    return shown.join(QStringLiteral(", "));
}

class Checker {
public:
    explicit Checker(const QString& workingDirectory)
        : workingDirectory_(QDir(workingDirectory).absolutePath()), store_(workingDirectory) {}

    CheckReport run() {
        const std::optional<QString> marker = checkMarker();
        const std::optional<QString> storeName = checkDirectory(marker);
        if (!storeName)
            return std::move(report_);
        const Outcome<StoreInventory> inventory = store_.inventory();
        if (!inventory.ok()) {
            report_.problems +=
                QStringLiteral("unreadable: %1: %2").arg(*storeName, inventory.failure().reason);
            return std::move(report_);
        }
        storeName_ = *storeName;
        marker_ = marker.value_or(QString());
        checkCounter(inventory.value());
        checkUsers(inventory.value());
        checkLock(inventory.value());
        checkListing(inventory.value());
        for (const QString& name : inventory.value().temporaries()) {
            report_.notes +=
                QStringLiteral("left over from an interrupted write: %1").arg(shown(name));
        }
        for (const QString& name : inventory.value().others())
            report_.notes += QStringLiteral("not a store file: %1").arg(shown(name));
        return std::move(report_);
    }

private:
    QString shown(const QString& name) const { return storeName_ + u'/' + name; }

    // Reports duplicates among `names` and reads the one a lookup would use, or
    // records why it could not.
    std::optional<QString> readOne(const QStringList& names, const QString& canonical,
                                   Place place) {
        const QString chosen = StoreInventory::preferred(names, canonical);
        const QString prefix = place == Place::StoreDirectory ? storeName_ + u'/' : QString();
        if (names.size() > 1) {
            report_.problems += QStringLiteral("duplicate: %1%2 exists as %3")
                                    .arg(prefix, canonical, quotedList(names));
        }
        const Outcome<QString> text = store_.readText(place, chosen);
        if (!text.ok()) {
            report_.problems +=
                QStringLiteral("unreadable: %1: %2").arg(prefix + chosen, text.failure().reason);
            return std::nullopt;
        }
        return text.value();
    }

    std::optional<QString> checkMarker() {
        const QString marker = StoreInspector::markerName();
        const Outcome<QStringList> names = store_.spellings(marker);
        if (!names.ok()) {
            report_.problems +=
                QStringLiteral("unreadable: %1: %2").arg(workingDirectory_, names.failure().reason);
            return std::nullopt;
        }
        if (names.value().isEmpty()) {
            report_.problems += QStringLiteral("missing: %1 (the first-run marker)").arg(marker);
            return std::nullopt;
        }
        const auto text = readOne(names.value(), marker, Place::WorkingDirectory);
        if (text && *text != u"0" && *text != u"1") {
            report_.problems += QStringLiteral("inconsistent: %1 holds %2, neither \"0\" nor \"1\"")
                                    .arg(marker, quoted(*text));
        }
        return text;
    }

    std::optional<QString> checkDirectory(const std::optional<QString>& marker) {
        const QString directory = StoreInspector::storeDirectoryName();
        const Outcome<QStringList> names = store_.spellings(directory);
        if (names.ok() && names.value().isEmpty()) {
            if (marker == u"0") {
                report_.notes +=
                    QStringLiteral("the store is not set up yet; the first start will do it");
            } else {
                report_.problems +=
                    QStringLiteral("missing: %1 (the store directory)").arg(directory);
            }
            return std::nullopt;
        }
        if (names.ok() && names.value().size() > 1) {
            report_.problems += QStringLiteral("duplicate: %1 exists as %2")
                                    .arg(directory, quotedList(names.value()));
        }
        const Outcome<QString> name = store_.storeDirectory();
        if (!name.ok()) {
            report_.problems +=
                QStringLiteral("unreadable: %1: %2").arg(directory, name.failure().reason);
            return std::nullopt;
        }
        if (!QFileInfo(workingDirectory_ + u'/' + name.value()).isDir()) {
            report_.problems +=
                QStringLiteral("inconsistent: %1 is not a directory").arg(name.value());
            return std::nullopt;
        }
        if (marker == u"0") {
            report_.notes +=
                QStringLiteral("the marker still says \"0\"; the next start keeps this store");
        }
        return name.value();
    }

    void checkCounter(const StoreInventory& inventory) {
        const QString counter = StoreInspector::markerName();
        if (inventory.counterNames().isEmpty()) {
            // The first-run set-up, interrupted, is finished by the next start.
            if (marker_ == u"0") {
                report_.notes += QStringLiteral("%1 is missing; the next start writes it as \"%2\"")
                                     .arg(shown(counter))
                                     .arg(inventory.rebuiltCounter());
            } else {
                report_.problems +=
                    QStringLiteral("missing: %1 (the user counter)").arg(shown(counter));
            }
            return;
        }
        const auto text = readOne(inventory.counterNames(), counter, Place::StoreDirectory);
        if (!text)
            return;
        const auto count = AccountStore::userCountOf(*text);
        if (!count) {
            report_.problems += "inconsistent: " + AccountStore::notAUserCount(*text);
            return;
        }
        report_.users = *count;
    }

    // A lock is a change under way, or the trace of a copy that died changing the
    // store; either way the game copes, so it is a note.
    void checkLock(const StoreInventory& inventory) {
        if (inventory.lockEntries().isEmpty())
            return;
        const Outcome<QStringList> notes = store_.lockNotes();
        if (notes.ok())
            report_.notes += notes.value();
    }

    // A share that lists a name otherwise than it is: said, and read by the name on disk.
    void checkListing(const StoreInventory& inventory) {
        for (const StoreInventory::ListedAs& name : inventory.listedAs()) {
            report_.notes += QStringLiteral("listed as \"%1\": %2; read by its name on disk")
                                 .arg(name.listed, shown(name.name));
        }
    }

    void reportGap(std::int64_t first, std::int64_t last) {
        if (first <= last)
            report_.problems += "missing: " + usersWithoutFiles(first, last);
    }

    void checkUsers(const StoreInventory& inventory) {
        const std::int64_t count = report_.users;
        std::int64_t next = 0;
        for (const auto& [user, files] : inventory.users()) {
            if (count >= 0)
                reportGap(next, std::min(user, count) - 1);
            next = user + 1;
            for (std::size_t i = 0; i < files.size(); ++i) {
                const QString canonical = StoreInspector::fieldFileName(kFields[i], user);
                if (files[i].isEmpty()) {
                    if (count >= 0 && user < count)
                        report_.problems += QStringLiteral("missing: %1").arg(shown(canonical));
                    continue;
                }
                if (count >= 0 && user >= count) {
                    // What an interrupted registration leaves; the counter keeps it
                    // out of every sign-in, and the next registration replaces it.
                    for (const QString& name : files[i]) {
                        report_.notes += QStringLiteral("beyond the counter: %1").arg(shown(name));
                    }
                    continue;
                }
                readOne(files[i], canonical, Place::StoreDirectory);
            }
        }
        if (count >= 0)
            reportGap(next, count - 1);
    }

    QString workingDirectory_;
    StoreInspector store_;
    QString storeName_;
    QString marker_;
    CheckReport report_;
};

}  // namespace

CheckReport checkStore(const QString& workingDirectory) {
    return Checker(workingDirectory).run();
}

}  // namespace mindlark::qkstore
