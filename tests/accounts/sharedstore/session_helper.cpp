// What a player's start of the game does on a store, without its windows:
//   session_helper DIR                      the start-up (it sets a new store up)
//   session_helper DIR USERNAME PASSWORD    the start-up, then one sign-in
// Prints the greeting on a match. Exits 0 when started (and signed in), 1 when no
// account matched, 3 with the store's message when the store failed, 4 when the
// sign-in passed over accounts it could not read: in a sound store being written by
// others, every account below the counter reads whole.
#include "accounts/storeerror.h"
#include "session/session.h"

#include <QFile>

#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fputs("usage: session_helper DIR [USERNAME PASSWORD]\n", stderr);
        return 2;
    }
    mindlark::Session session(QFile::decodeName(argv[1]));
    try {
        session.start({});
        if (argc == 2)
            return 0;
        const std::optional<mindlark::Player> player =
            session.signIn(QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]));
        const QString notice = session.takeDamageNotice();
        if (!notice.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(notice));
            return 4;
        }
        if (!player)
            return 1;
        std::printf("Welcome %s\n", qPrintable(player->name));
        return 0;
    } catch (const mindlark::StoreError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 3;
    }
}
