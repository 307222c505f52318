#include "accounts/storemodes.h"

#include "lock/copyidentity.h"

#include "inflight/inflight.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <vector>

namespace mindlark::storemodes {

namespace {

// Room for one passwd or group entry, as sysconf() suggests for most systems.
constexpr std::size_t kEntryBuffer = 16384;

QString userName(uid_t user) {
    std::vector<char> buffer(kEntryBuffer);
    struct passwd entry;
    struct passwd* found = nullptr;
    if (::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(user);
}

QString groupName(gid_t group) {
    std::vector<char> buffer(kEntryBuffer);
    struct group entry;
    struct group* found = nullptr;
    if (::getgrgid_r(group, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->gr_name);
    return QString::number(group);
}

bool isMember(gid_t group) {
    if (::getegid() == group)
        return true;
    std::vector<gid_t> groups(std::size_t(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(int(groups.size()), groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(count, 0), group) !=
           groups.begin() + std::max(count, 0);
}

// Whether `error` says the file system keeps no modes or owners at all.
bool isUnsupported(int error) {
    return error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP;
}

// Whether `error`, from fchmod() on the open `fd`, only says the file system keeps
// no modes: EPERM says so only for a file this process owns, or for the
// superuser, whom nothing else refuses.
bool keepsNoModes(int error, int fd) {
    if (isUnsupported(error))
        return true;
    struct stat info;
    return error == EPERM &&
           (::geteuid() == 0 || (::fstat(fd, &info) == 0 && info.st_uid == ::geteuid()));
}

// Whether an entry of `mode` and `group`, in a folder with `modes`, is open to
// more than the folder asks, or in a group folder not yet open to the group. The
// setgid bit is left out: the system drops it from the directory of a writer
// outside the group.
bool isLoose(mode_t mode, gid_t group, const StoreModes& modes) {
    const mode_t wanted = (S_ISDIR(mode) ? modes.directory : modes.file) & 077;
    const mode_t granted = mode & 077;
    if ((granted & ~wanted) != 0)
        return true;
    return modes.shared && (granted != wanted || group != modes.group);
}

bool isLoose(const struct stat& entry, const StoreModes& modes) {
    return isLoose(entry.st_mode, entry.st_gid, modes);
}

// Why a file cannot be given to its folder's group, and what to do about it.
Failure groupRefused(const StoreModes& modes, int error) {
    const QString group = groupName(modes.group);
    const QString user = userName(::geteuid());
    if (!isMember(modes.group)) {
        return Failure{error, QStringLiteral("the store's folder is shared with the group %1, "
                                             "which %2 is not in, so its players could not "
                                             "read what %2 writes: ask whoever looks after the "
                                             "folder to add %2 to %1, then log in again")
                                  .arg(group, user)};
    }
    return Failure{error, QStringLiteral("the store's folder is shared with the group %1, but "
                                         "what %2 writes could not be given to it (%3): ask "
                                         "whoever looks after the folder to make it setgid "
                                         "(chmod g+s), so that files take its group unasked")
                              .arg(group, user, qt_error_string(error))};
}

// Changes the mode of the file `fd`, opened O_PATH, names: in one call where the
// kernel has fchmodat2 (Linux 6.6), else through /proc.
int changeMode(int fd, mode_t mode) {
#ifdef SYS_fchmodat2
    constexpr long kFchmodat2 = SYS_fchmodat2;
#else
    constexpr long kFchmodat2 = 452;  // the same number on every architecture
#endif
    if (::syscall(kFchmodat2, fd, "", mode, AT_EMPTY_PATH) == 0)
        return 0;
    // An older kernel lacks it; a sandbox may refuse it as a disk without modes would.
    if (errno != ENOSYS && errno != EPERM && errno != EINVAL)
        return -1;
    char path[32];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    return ::chmod(path, mode);
}

// mendFile() for the user `me`. The name is looked up once: a file server is
// asked nothing more for a file that is right, and two more questions for one it
// mends. What that lookup found is what is changed, whatever the name is by then.
Mend mendIfLoose(int directory, const QByteArray& name, const StoreModes& modes, uid_t me) {
    const int fd = ::openat(directory, name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return Mend::Nothing;
    struct statx entry;
    Mend result = Mend::Nothing;
    if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC,
                STATX_TYPE | STATX_MODE | STATX_UID | STATX_GID, &entry) == 0 &&
        S_ISREG(entry.stx_mode) && entry.stx_uid == me &&
        isLoose(entry.stx_mode, entry.stx_gid, modes)) {
        // The file is this user's: only a disk without modes or owners refuses its
        // owner a mode, or a group the owner is in.
        const bool regrouped = !modes.shared || entry.stx_gid == modes.group ||
                               ::fchownat(fd, "", uid_t(-1), modes.group, AT_EMPTY_PATH) == 0;
        if (regrouped && changeMode(fd, modes.file) == 0)
            result = Mend::Mended;
        else
            result =
                isUnsupported(errno) || (regrouped && errno == EPERM) ? Mend::Unkept : Mend::Failed;
    }
    ::close(fd);
    return result;
}

}  // namespace

StoreModes modesOf(const struct stat& folder) {
    StoreModes modes;
    modes.owner = folder.st_uid;
    modes.group = folder.st_gid;
    modes.inherits = (folder.st_mode & S_ISGID) != 0;
    // A folder anyone may write to was opened by mistake, or lies on a disk that
    // keeps no modes: it shares nothing with a group in particular.
    modes.shared = modes.inherits || (folder.st_mode & (S_IWGRP | S_IWOTH)) == S_IWGRP;
    if (modes.shared) {
        modes.file = 0660;
        modes.directory = 02770;
    }
    return modes;
}

StoreModes modesFor(int directory) {
    struct stat folder;
    if (::fstat(directory, &folder) != 0) {
        StoreModes own;
        own.owner = ::geteuid();
        own.group = ::getegid();
        return own;
    }
    return modesOf(folder);
}

Outcome<> mayWrite(const StoreModes& modes) {
    const uid_t me = ::geteuid();
    if (modes.shared || modes.owner == me || me == 0)
        return {};
    return Failure{EPERM, QStringLiteral("the store belongs to another user, %1, who could not "
                                         "read what %2 writes: play in a folder of your own, "
                                         "or ask %1 to share this one with a group you are both "
                                         "in (chgrp GROUP FOLDER; chmod 2770 FOLDER)")
                              .arg(userName(modes.owner), userName(me))};
}

Outcome<> give(int fd, const StoreModes& modes, bool isDirectory) {
    const uid_t me = ::geteuid();
    // The superuser's files would lock the folder's owner out: they become the owner's.
    const bool giveAway = me == 0 && modes.owner != me;
    if ((giveAway || (modes.shared && !modes.inherits)) &&
        ::fchown(fd, giveAway ? modes.owner : uid_t(-1), modes.group) != 0) {
        const int error = errno;
        struct stat info;
        // FAT, exFAT and some shares keep no owners: what they show is all the
        // store can ask for there, and nothing but such a disk refuses the superuser.
        const bool shown = ::fstat(fd, &info) == 0 && info.st_gid == modes.group &&
                           (!giveAway || info.st_uid == modes.owner);
        if (!shown && !isUnsupported(error) && !(error == EPERM && me == 0))
            return modes.shared ? groupRefused(modes, error) : Failure::ofErrno(error);
    }
    // The umask may have taken more than the folder allows; the mode is then set
    // whole. A file made with the folder's mode under a umask that takes none of
    // it needs nothing, and saves a round trip on a file server.
    const mode_t mode = isDirectory ? modes.directory : modes.file;
    if ((isDirectory || (mode & CopyIdentity::creationMask() & 0777) != 0) &&
        ::fchmod(fd, mode) != 0 && !keepsNoModes(errno, fd))
        return Failure::ofErrno(errno);
    return {};
}

Mend mendFile(int directory, const QByteArray& name, const StoreModes& modes) {
    return mendIfLoose(directory, name, modes, ::geteuid());
}

bool mend(int directory, const std::function<QList<QByteArray>()>& names,
          const std::function<int()>& inFlight) {
    const uid_t me = ::geteuid();
    struct stat folder;
    if (::fstat(directory, &folder) != 0 || folder.st_uid != me)
        return true;
    const StoreModes modes = modesOf(folder);
    // A group folder's setgid bit marks a finished mend as well as a tight mode does.
    if (!isLoose(folder, modes) && !(modes.shared && (folder.st_mode & S_ISGID) == 0))
        return true;
    const QList<QByteArray> all = names();
    // One after another until a file is mended: the first tells whether the disk
    // keeps modes at all, and where it does not, nothing more is tried.
    std::atomic<bool> failed{false};
    qsizetype next = 0;
    for (bool probed = false; !probed && next < all.size(); ++next) {
        Mend result = mendIfLoose(directory, all[next], modes, me);
        struct stat entry;
        probed = result == Mend::Mended;
        // A disk that takes a chmod without keeping it ("quiet" FAT) shows it unchanged.
        if (probed &&
            ::fstatat(directory, all[next].constData(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
            isLoose(entry, modes)) {
            result = Mend::Unkept;
        }
        if (result == Mend::Unkept)
            return false;
        failed = failed || result == Mend::Failed;
    }
    runInFlight(int(all.size() - next), inFlight(), [&](int i) {
        const Mend result = mendIfLoose(directory, all[next + i], modes, me);
        if (result == Mend::Failed || result == Mend::Unkept)
            failed = true;
    });
    // Last, the directory: once it is right, no later start looks at its files.
    if (failed)
        return true;
    if (::fchmod(directory, modes.directory) != 0)
        return !keepsNoModes(errno, directory);
    return ::fstat(directory, &folder) != 0 || !isLoose(folder, modes);
}

QString privacyNote(int directory, bool keepsModes) {
    struct stat folder;
    if (::fstat(directory, &folder) != 0)
        return {};
    const StoreModes modes = modesOf(folder);
    // A group folder open to others' reading but not their writing still keeps
    // its files to the group; one that anyone may write to keeps nothing.
    if (!keepsModes || (folder.st_mode & (modes.shared ? S_IWOTH : 077)) != 0) {
        return QStringLiteral(
            "The store is on a disk that cannot keep its files private, such as a USB stick "
            "or a shared folder: anyone who can read that disk can read the passwords in it.");
    }
    if (modes.shared) {
        return QStringLiteral(
                   "The store is shared with the group %1: every member of that group can read "
                   "the passwords in it.")
            .arg(groupName(modes.group));
    }
    return {};
}

}  // namespace mindlark::storemodes
