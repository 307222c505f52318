#include "qkstore/userlisting.h"

#include "accounts/accountstore.h"
#include "accounts/foldeddirectory.h"
#include "accounts/numbers.h"
#include "accounts/storeerror.h"
#include "accounts/storeinventory.h"
#include "accounts/storenames.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>

namespace mindlark::qkstore {

namespace {

const QString kDirectory = QString::fromUtf16(storenames::kDirectory);

// The fields shown, as indexes into the registration order; the password is not.
constexpr std::size_t kShownFields[] = {0, 1, 2, 3};

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
        const QString text = store.loadCounterText();
        const auto strict = readNumberStrictly(text);
        if (!strict || *strict < 0) {
            listing.errors += QStringLiteral("%1 holds \"%2\", which is not a user count")
                                  .arg(QString::fromUtf16(storenames::kCounterPath), text.left(40));
            return listing;
        }
        count = *strict;
    } catch (const StoreError& error) {
        listing.errors += error.message();
        return listing;
    }
    // The listing of the directory says which users have files, so a counter far
    // beyond them costs nothing.
    FoldedDirectory root(QFile::encodeName(QDir(workingDirectory).absolutePath()));
    int findError = 0;
    const auto storeName = root.findEntry(kDirectory, &findError);
    QString scanError = qt_error_string(findError);
    const auto inventory =
        storeName
            ? StoreInventory::scan(QFile::decodeName(root.path()) + u'/' + *storeName, &scanError)
            : std::nullopt;
    if (!inventory) {
        listing.errors += QStringLiteral("Cannot list %1: %2").arg(kDirectory, scanError);
        return listing;
    }
    listing.lines += QStringLiteral("number\tname\tage\te-mail\tuser name");
    std::int64_t next = 0;
    for (const auto& [user, files] : inventory->users()) {
        if (user >= count)
            break;
        reportGap(listing, next, user - 1);
        next = user + 1;
        QStringList cells{QString::number(user)};
        for (const std::size_t i : kShownFields) {
            const Field field = storenames::kFields[i];
            QString value;
            if (files[i].isEmpty()) {
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
