#include "qkstore/userlisting.h"

#include <iterator>

#include "accounts/accountstore.h"
#include "accounts/storeerror.h"
#include "accounts/storeinspector.h"

namespace mindlark::qkstore {

namespace {

// The fields shown, in the order registration writes them; never the password.
constexpr Field kShownFields[] = {Field::Name, Field::Age, Field::Email, Field::UserName};

void reportGap(UserListing& listing, std::int64_t first, std::int64_t last) {
    if (first <= last)
        listing.errors += usersWithoutFiles(first, last);
}

// Which users of the store below `workingDirectory` have files, from one listing.
// Throws StoreError when it cannot be listed.
StoreInventory inventoryOf(const QString& workingDirectory) {
    Outcome<StoreInventory> inventory = StoreInspector(workingDirectory).inventory();
    if (!inventory.ok()) {
        throw StoreError(cannot(QStringLiteral("list"), StoreInspector::storeDirectoryName(),
                                inventory.failure().reason));
    }
    return std::move(inventory.value());
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
    try {
        const std::int64_t count = store.loadUserCount();
        listing.lines += QStringLiteral("number\tname\tage\te-mail\tuser name");
        // A sound store is read user by user under the names the game writes, with
        // no listing. From the first user whose files do not all read, the listing
        // of the directory says which users have files, so a gap or a counter far
        // beyond the users costs nothing and every fault is reported as found.
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
        const StoreInventory inventory = inventoryOf(workingDirectory);
        for (const auto& entry : inventory.users()) {
            const std::int64_t user = entry.first;
            if (user < next)
                continue;
            if (user >= count)
                break;
            reportGap(listing, next, user - 1);
            next = user + 1;
            QStringList cells{QString::number(user)};
            for (const Field field : kShownFields) {
                QString value;
                try {
                    value = store.readField(field, user);
                } catch (const StoreError& error) {
                    listing.errors += error.message();
                }
                cells += tableCell(value);
            }
            listing.lines += cells.join(u'\t');
        }
        reportGap(listing, next, count - 1);
    } catch (const StoreError& error) {
        listing.errors += error.message();
    }
    return listing;
}

}  // namespace mindlark::qkstore
