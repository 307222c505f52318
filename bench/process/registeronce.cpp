// registeronce DIR: what a fresh game process does on the store to register one
// user: the start-up check of the marker and the counter, then "Add User".
#include "accounts/accountstore.h"

#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: registeronce DIR\n", stderr);
        return 2;
    }
    mindlark::AccountStore store(QFile::decodeName(argv[1]));
    store.runFirstRunSetup();
    store.loadUserCount();
    store.registerUser({QStringLiteral("New Player"), QStringLiteral("30"),
                        QStringLiteral("new@example.org"), QStringLiteral("newcomer"),
                        QStringLiteral("secret")});
    return 0;
}
