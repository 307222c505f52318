#include "lock/temporaries.h"

#include "lock/copyidentity.h"

#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <ctime>

namespace mindlark::temporaries {

namespace {

// Marks every temporary: a leading dot, then the final name, then this and the
// writer's host, boot, process and a part unique within the process.
constexpr char kTemporaryTag[] = ".tmp-";
// How much of the boot id a temporary's name carries: enough to tell two
// machines of one host name apart.
constexpr qsizetype kBootTagLength = 8;
// No write takes an hour: a temporary untouched that long belongs to nobody.
constexpr std::int64_t kAbandonedAfterSeconds = 3600;

std::atomic<std::uint64_t> uniqueCount{0};

}  // namespace

bool isTemporaryName(QStringView name) {
    return name.startsWith(u'.') && name.contains(QLatin1StringView(kTemporaryTag));
}

const Owner& self() {
    static const Owner owner = [] {
        const CopyIdentity& me = CopyIdentity::self();
        return Owner{CopyIdentity::fileNameHost(me.host), bootTag(me.boot), me.pid};
    }();
    return owner;
}

QByteArray uniqueTag() {
    const Owner& me = self();
    const std::uint64_t unique =
        (uniqueCount.fetch_add(1) << 32) ^ QRandomGenerator::system()->generate();
    return me.host.toLatin1() + '.' + me.boot.toLatin1() + '.' +
           QByteArray::number(qint64(me.pid)) + '.' + QByteArray::number(quint64(unique), 16);
}

QByteArray nameFor(const QByteArray& name) {
    return '.' + name + kTemporaryTag + uniqueTag();
}

QString bootTag(const QString& boot) {
    return boot.left(kBootTagLength).toLower();
}

std::optional<Owner> ownerOfTag(QStringView tag) {
    // host.boot.pid.unique; the host name carries no dots in a tag.
    const QList<QStringView> parts = tag.split(u'.');
    if (parts.size() != 4 || parts[0].isEmpty() || parts[3].isEmpty())
        return std::nullopt;
    bool isNumber = false;
    const std::int64_t pid = parts[2].toLongLong(&isNumber);
    if (!isNumber || pid <= 0)
        return std::nullopt;
    return Owner{parts[0].toString(), parts[1].toString(), pid};
}

std::optional<Owner> ownerOf(QStringView name) {
    if (!isTemporaryName(name))
        return std::nullopt;
    const qsizetype tag = name.lastIndexOf(QLatin1StringView(kTemporaryTag));
    return ownerOfTag(name.mid(tag + qsizetype(sizeof kTemporaryTag) - 1));
}

int removeAbandoned(int directory, const QStringList& names, const std::optional<Owner>& gone) {
    const std::int64_t now = std::time(nullptr);
    int removed = 0;
    for (const QString& name : names) {
        if (!isTemporaryName(name))
            continue;
        const QByteArray encoded = QFile::encodeName(name);
        const std::optional<Owner> owner = ownerOf(name);
        bool abandoned = owner && gone && *owner == *gone;
        if (!abandoned && owner)
            abandoned = CopyIdentity{owner->host, owner->boot, owner->pid, {}}.hasEnded();
        struct stat info;
        if (!abandoned &&
            ::fstatat(directory, encoded.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0)
            abandoned = now - info.st_mtim.tv_sec > kAbandonedAfterSeconds;
        if (abandoned && ::unlinkat(directory, encoded.constData(), 0) == 0)
            ++removed;
    }
    return removed;
}

}  // namespace mindlark::temporaries
