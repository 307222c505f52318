#include "qkstore/userlisting.h"

#include <cerrno>
#include <iterator>

#include "accounts/accountstore.h"
#include "accounts/storeerror.h"
#include "accounts/storeinspector.h"

namespace mindlark::qkstore {

namespace {

// The fields shown, in the order registration writes them; never the password.
constexpr Field kShownFields[] = {Field::Name, Field::Age, Field::Email, Field::UserName};

void reportGap(UserListing& listing, std::int64_t first, std::int64_t last) {
    if (first > last)
        return;
    listing.errors += first == last
                          ? QStringLiteral("user %1 has no files").arg(first)
                          : QStringLiteral("users %1 to %2 have no files").arg(first).arg(last);
}

}  // namespace

QString tableCell(const QString& text) {
    QString cell;
    cell.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
            case u'\\':
                cell += QStringLiteral("\\\\");
                break;
            case u'\t':
                cell += QStringLiteral("\\t");
                break;
            case u'\r':
                cell += QStringLiteral("\\r");
                break;
            case u'\n':
                cell += QStringLiteral("\\n");
                break;
            default:
                cell += c;
        }
    }
    return cell;
}

UserListing listUsers(const QString& workingDirectory) {
    UserListing listing;
    AccountStore store(workingDirectory);
    std::int64_t count = 0;
    try {
        count = store.loadUserCount();
    } catch (const StoreError& error) {
        listing.errors += error.message();
        return listing;
    }
    listing.lines += QStringLiteral("number\tname\tage\te-mail\tuser name");
    // A sound store is read user by user under the names the game writes, with no
    // listing. From the first user whose files do not all read, the listing of
    // the directory says which users have files, so a gap or a counter far beyond
    // the users costs nothing and every fault is reported as found.
    std::int64_t next = 0;
    UserScan scan =
        store.scanUsers(QList<Field>(std::begin(kShownFields), std::end(kShownFields)), count);
    for (; next < count; ++next) {
        QStringList cells{QString::number(next)};
        try {
            for (const QString& value : scan.next())
                cells += tableCell(value);
        } catch (const StoreError&) {
            break;
        }
        listing.lines += cells.join(u'\t');
    }
    if (next == count)
        return listing;
    StoreInspector inspector(workingDirectory);
    const Outcome<StoreInventory> inventory = inspector.inventory();
    if (!inventory.ok()) {
        listing.errors +=
            QStringLiteral("Cannot list %1: %2")
                .arg(StoreInspector::storeDirectoryName(), inventory.failure().reason);
        return listing;
    }
    for (const auto& [user, files] : inventory.value().users()) {
        if (user < next)
            continue;
        if (user >= count)
            break;
        reportGap(listing, next, user - 1);
        next = user + 1;
        QStringList cells{QString::number(user)};
        for (const Field field : kShownFields) {
            QString value;
            if (files[std::size_t(field)].isEmpty()) {
                listing.errors +=
                    QStringLiteral("Cannot read %1: %2")
                        .arg(AccountStore::readPath(field, user), qt_error_string(ENOENT));
            } else {
                try {
                    value = store.readField(field, user);
                } catch (const StoreError& error) {
                    listing.errors += error.message();
                }
            }
            cells += tableCell(value);
        }
        listing.lines += cells.join(u'\t');
    }
    reportGap(listing, next, count - 1);
    return listing;
}

}  // namespace mindlark::qkstore
