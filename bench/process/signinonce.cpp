// signinonce DIR USERNAME PASSWORD: what a fresh game process does on the store up
// to a greeting: the start-up check of the marker and the counter, then one
// sign-in attempt. Exits 0 when an account matched, 1 when none did.
#include "accounts/accountstore.h"
#include "accounts/signin.h"

#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: signinonce DIR USERNAME PASSWORD\n", stderr);
        return 2;
    }
    mindlark::AccountStore store(QFile::decodeName(argv[1]));
    store.runFirstRunSetup();
    store.loadUserCount();
    const auto match =
        mindlark::findAccount(store, QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]));
    return match ? 0 : 1;
}
