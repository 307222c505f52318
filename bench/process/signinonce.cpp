// signinonce DIR USERNAME PASSWORD: what a fresh game process does on the store up
// to a greeting, without its windows: the start-up, then one sign-in attempt.
// Exits 0 when an account matched, 1 when none did.
#include "session/session.h"

#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: signinonce DIR USERNAME PASSWORD\n", stderr);
        return 2;
    }
    mindlark::Session session(QFile::decodeName(argv[1]));
    session.start({});
    return session.signIn(QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3])) ? 0 : 1;
}
