// Registers users in a store as a separate process, so tests can run several
// copies at once: register_helper DIR COUNT TAG writes COUNT users whose every
// field carries TAG and the running number k, e.g. user name "TAG-k".
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
    try {
        for (int k = 0; k < count; ++k) {
            const QString id = tag + u'-' + QString::number(k);
            store.registerUser(
                {"Name " + id, QString::number(k), id + "@example.org", id, "pw " + id});
        }
    } catch (const mindlark::StoreError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
