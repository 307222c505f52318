// registeronce DIR: what a fresh game process does on the store to register one
// user, without its windows: the start-up, then "Add User".
#include "session/session.h"

#include <QFile>

#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: registeronce DIR\n", stderr);
        return 2;
    }
    mindlark::Session session(QFile::decodeName(argv[1]));
    session.start({});
    const std::optional<mindlark::Player> accepted = session.registerUser(
        {QStringLiteral("New Player"), QStringLiteral("30"), QStringLiteral("new@example.org"),
         QStringLiteral("newcomer"), QStringLiteral("secret")},
        QStringLiteral("secret"));
    return accepted ? 0 : 1;
}
