// makestore DIR USERS: a store of USERS users in working directory DIR, in exactly
// the form the game writes (marker "1", "QK", the counter, five files per user).
// Users' files are written directly with the writer's bytes: registering 100,000
// users one by one would flush the counter 100,000 times.
#include "accounts/storenames.h"
#include "rtf/rtf.h"

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>

namespace {

void writeNew(const QString& path, const QByteArray& bytes) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size()) {
        std::perror(qPrintable(path));
        std::exit(1);
    }
    ::close(fd);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: makestore DIR USERS\n", stderr);
        return 2;
    }
    const QString directory = QFile::decodeName(argv[1]);
    const long long users = std::strtoll(argv[2], nullptr, 10);
    ::mkdir(argv[1], 0700);
    ::mkdir(QFile::encodeName(directory + "/QK").constData(), 0700);
    writeNew(directory + "/num.qk", mindlark::rtf::write(QStringLiteral("1")));
    using mindlark::Field;
    for (long long k = 0; k < users; ++k) {
        const std::pair<Field, QString> values[] = {
            {Field::Name, QStringLiteral("Player %1").arg(k)},
            {Field::Age, QString::number(20 + k % 50)},
            {Field::Email, QStringLiteral("p%1@example.org").arg(k)},
            {Field::UserName, QStringLiteral("user%1").arg(k)},
            {Field::Password, QStringLiteral("pass word %1").arg(k)}};
        for (const auto& [field, value] : values)
            writeNew(directory + "/QK/" + mindlark::storenames::writeName(field, k),
                     mindlark::rtf::write(value));
    }
    writeNew(directory + "/QK/num.qk", mindlark::rtf::write(QString::number(users)));
    return 0;
}
