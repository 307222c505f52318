// Registers users in a store as a separate process, so tests can run several
// copies at once: register_helper DIR COUNT TAG writes COUNT users whose every
// field carries TAG and the running number k, e.g. user name "TAG-k". Each
// registration the store confirmed is printed at once as "NUMBER TAG-k", so that a
// copy killed midway still tells which accounts it was promised. A registration
// that fails is reported and the next one tried, as a player would press Add User
// again. One refused because another copy held the store too long is reported as
// "gave up: TAG-k: MESSAGE", since a shared-store test tells a copy kept waiting
// apart from a store that failed. Exit status: 0 when all were confirmed, 1 when
// any failed otherwise, 3 when the only failures were such give-ups.
#include "accounts/accountstore.h"
#include "accounts/storeerror.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: register_helper DIR COUNT TAG\n");
        return 2;
    }
    const QString directory = QString::fromLocal8Bit(argv[1]);
    const int count = std::atoi(argv[2]);
    const QString tag = QString::fromLocal8Bit(argv[3]);
    mindlark::AccountStore store(directory);
    int failed = 0;
    int gaveUp = 0;
    for (int k = 0; k < count; ++k) {
        const QString id = tag + u'-' + QString::number(k);
        try {
            const QString counter = store.registerUser(
                {"Name " + id, QString::number(k), id + "@example.org", id, "pw " + id});
            std::printf("%lld %s\n", counter.toLongLong() - 1, qPrintable(id));
            std::fflush(stdout);
        } catch (const mindlark::StoreError& error) {
            const bool waitedInVain = error.message().contains(u"is writing the store");
            std::fprintf(stderr, "%s%s: %s\n", waitedInVain ? "gave up: " : "", qPrintable(id),
                         qPrintable(error.message()));
            ++(waitedInVain ? gaveUp : failed);
        }
    }
    return failed > 0 ? 1 : gaveUp > 0 ? 3 : 0;
}
