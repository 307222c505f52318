#include "lock/copyidentity.h"

#include <QFile>

#include <signal.h>
#include <unistd.h>
#include <cerrno>
#include <climits>

namespace mindlark {

namespace {

QByteArray firstLineOf(const char* path) {
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readLine(256).trimmed();
}

// Field 22 of /proc/PID/stat: clock ticks from boot to the process's start. The
// command name in field 2 may hold spaces and parentheses, so fields are counted
// from the last ')'.
QString startTimeOf(std::int64_t pid) {
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = file.read(4096);
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return {};
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    // After ")": field 3 is the first, so field 22 is at index 19.
    return fields.size() > 19 ? QString::fromLatin1(fields[19]) : QString();
}

}  // namespace

const CopyIdentity& CopyIdentity::self() {
    static const CopyIdentity identity = [] {
        CopyIdentity me;
        char name[HOST_NAME_MAX + 1] = {};
        if (::gethostname(name, sizeof name - 1) == 0 && name[0] != '\0')
            me.host = QString::fromUtf8(name);
        else
            me.host = QStringLiteral("unknown");
        me.boot = QString::fromLatin1(firstLineOf("/proc/sys/kernel/random/boot_id"));
        me.pid = ::getpid();
        me.started = startTimeOf(me.pid);
        return me;
    }();
    return identity;
}

QString CopyIdentity::fileNameHost(const QString& host) {
    QString safe;
    for (const QChar c : host) {
        if (safe.size() == 40)
            break;
        const char16_t u = c.unicode();
        const bool plain = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') ||
                           (u >= u'0' && u <= u'9') || u == u'-';
        safe += plain ? c : QChar(u'-');
    }
    return safe.isEmpty() ? QStringLiteral("unknown") : safe;
}

mode_t CopyIdentity::creationMask() {
    // umask() can only be read by setting it, which other threads would see.
    static const mode_t mask = [] {
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith("Umask:"))
                    return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
            }
        }
        return mode_t(077);
    }();
    return mask;
}

bool CopyIdentity::isOnBootOf(const CopyIdentity& here) const {
    // The boot as a temporary's name carries it: its first characters.
    const auto tag = [](const QString& id) { return id.left(8).toLower(); };
    return fileNameHost(host) == fileNameHost(here.host) && !boot.isEmpty() &&
           tag(boot) == tag(here.boot);
}

bool CopyIdentity::hasEnded(const CopyIdentity& here) const {
    return isOnBootOf(here) && pid != here.pid && !isRunningHere(pid, started);
}

bool CopyIdentity::isRunningHere(std::int64_t pid, const QString& started) {
    if (pid <= 0 || pid > INT_MAX)
        return false;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return false;
    if (started.isEmpty())
        return true;
    const QString now = startTimeOf(pid);
    return now.isEmpty() || now == started;
}

}  // namespace mindlark
