// registerone DIR TAG: one press of Add User, as a fresh process: the store at
// working directory DIR opened and user TAG registered, every field naming TAG.
// Exits 0 when the store confirmed it, 1 with the store's message otherwise.
#include "accounts/accountstore.h"
#include "accounts/storeerror.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: registerone DIR TAG\n", stderr);
        return 2;
    }
    const QString tag = QString::fromUtf8(argv[2]);
    try {
        mindlark::AccountStore store(QFile::decodeName(argv[1]));
        store.registerUser(
            {"Name " + tag, QStringLiteral("30"), tag + "@example.org", tag, "pw " + tag});
        return 0;
    } catch (const mindlark::StoreError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
}
