#pragma once

#include <QString>
#include <QStringList>

namespace mindlark::qkstore {

// What `qkstore list` prints: one tab-separated line per user below the counter
// that has any file (number, name, age, e-mail, user name; never the password),
// after a header line, and a message for everything that could not be read.
struct UserListing {
    QStringList lines;   // the header, then one line per user
    QStringList errors;  // one message per missing or unreadable thing
};

// Lists the users of the store below `workingDirectory`. A store whose counter
// cannot be read gives no lines and one error.
UserListing listUsers(const QString& workingDirectory);

// `text` as one table cell: backslash, tab, CR and LF become \\, \t, \r and \n.
QString tableCell(const QString& text);

}  // namespace mindlark::qkstore
