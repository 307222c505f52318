#pragma once

#include <sys/types.h>
#include <QString>
#include <cstdint>

namespace mindlark {

// Who a copy of the game is, as the store's lock and temporaries name it: the
// machine by its host name and boot, the process by its id and start time. Copies
// on different machines may share one store through a file server or a stick, so
// "is that copy still running?" can only be answered on the copy's own machine.
struct CopyIdentity {
    QString host;          // gethostname(); "unknown" when there is none
    QString boot;          // the kernel's boot id, empty where it is unknown
    std::int64_t pid = 0;  // the process id
    QString started;       // the process's start time since boot, empty where unknown

    // This process, read once.
    static const CopyIdentity& self();
    // The bits this process's umask takes from every new file, read once.
    static mode_t creationMask();

    // The host name as it may stand in a file name: letters, digits and '-' only,
    // at most 40 of them, so every file system the store lives on takes it.
    static QString fileNameHost(const QString& host);

    // Whether this copy ran on the machine and boot of `here`, however either is
    // spelled (a file name carries the host made safe and the boot's first part).
    bool isOnBootOf(const CopyIdentity& here) const;
    // The one answer to "is that copy gone?": it ran on the machine and boot of
    // `here`, is not `here`, and its process has ended. A copy on another machine
    // is never known gone.
    bool hasEnded(const CopyIdentity& here = self()) const;
    // Whether the process `pid` of this machine still runs, and is the one that
    // started at `started` when that is known (so a reused process id is told apart).
    static bool isRunningHere(std::int64_t pid, const QString& started = {});
};

}  // namespace mindlark
