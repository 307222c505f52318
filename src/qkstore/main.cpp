// qkstore: looks into a player's account store without the game.
//   qkstore text FILE    the plain text of one store file
//   qkstore list DIR     the users of the store in working directory DIR
//   qkstore check DIR    what is missing, unreadable or inconsistent in it
// Exit status: 0 done (check: nothing wrong), 1 a file problem (check: something
// wrong), 2 bad arguments.
#include "accounts/storeerror.h"
#include "accounts/storeinspector.h"
#include "qkstore/storecheck.h"
#include "qkstore/userlisting.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <cstdio>

namespace {

using namespace mindlark;

constexpr char kUsage[] =
    "usage: qkstore text FILE    print the plain text of one store file\n"
    "       qkstore list DIR     list the users of the store in working directory DIR\n"
    "       qkstore check DIR    report what is missing, unreadable or inconsistent\n";

void write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

void error(const QString& message) {
    write(stderr, "qkstore: " + message + u'\n');
}

int usageError(const QString& message) {
    error(message);
    std::fputs(kUsage, stderr);
    return 2;
}

int printText(const QString& file) {
    const Outcome<QString> text = StoreInspector::readFileAt(file);
    if (!text.ok()) {
        error(cannot(QStringLiteral("read"), file, text.failure().reason));
        return 1;
    }
    write(stdout, text.value());
    return 0;
}

bool usableDirectory(const QString& directory) {
    const QFileInfo info(directory);
    const int fault = !info.exists() ? ENOENT : !info.isDir() ? ENOTDIR : 0;
    if (fault != 0)
        error(cannot(QStringLiteral("open"), directory, qt_error_string(fault)));
    return fault == 0;
}

int list(const QString& directory) {
    if (!usableDirectory(directory))
        return 1;
    const qkstore::UserListing listing = qkstore::listUsers(directory);
    for (const QString& line : listing.lines)
        write(stdout, line + u'\n');
    for (const QString& message : listing.errors)
        error(message);
    return listing.errors.isEmpty() ? 0 : 1;
}

int check(const QString& directory) {
    if (!usableDirectory(directory))
        return 1;
    const qkstore::CheckReport report = qkstore::checkStore(directory);
    for (const QString& line : report.problems)
        write(stdout, line + u'\n');
    for (const QString& line : report.notes)
        write(stdout, "note: " + line + u'\n');
    const QString users = report.users < 0    ? QStringLiteral("no user count")
                          : report.users == 1 ? QStringLiteral("1 user")
                                              : QStringLiteral("%1 users").arg(report.users);
    if (report.problems.isEmpty()) {
        write(stdout, users + ", no problems found\n");
        return 0;
    }
    write(stdout, QStringLiteral("%1, %2 problem%3 found\n")
                      .arg(users)
                      .arg(report.problems.size())
                      .arg(report.problems.size() == 1 ? "" : "s"));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args += QFile::decodeName(argv[i]);
    if (args.size() == 1 && (args[0] == u"-h" || args[0] == u"--help" || args[0] == u"help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString& command = args[0];
    if (command != u"text" && command != u"list" && command != u"check") {
        return usageError(QStringLiteral("unknown command \"%1\"").arg(command));
    }
    if (args.size() != 2) {
        return usageError(QStringLiteral("%1 takes exactly one %2")
                              .arg(command, command == u"text" ? "FILE" : "DIR"));
    }
    if (args[1].isEmpty())
        return usageError(QStringLiteral("empty path"));
    if (command == u"text")
        return printText(args[1]);
    if (command == u"list")
        return list(args[1]);
    return check(args[1]);
}
