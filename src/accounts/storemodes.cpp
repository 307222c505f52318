#include "accounts/storemodes.h"

#include "accounts/jobs.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
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

// Whether `entry`, in a folder with `modes`, is open to more than the folder asks,
// or in a group folder not yet open to the group. The setgid bit is left out: the
// system drops it from the directory of a writer outside the group.
bool isLoose(const struct stat& entry, const StoreModes& modes) {
    const mode_t wanted = (S_ISDIR(entry.st_mode) ? modes.directory : modes.file) & 077;
    const mode_t granted = entry.st_mode & 077;
    if ((granted & ~wanted) != 0)
        return true;
    return modes.shared && (granted != wanted || entry.st_gid != modes.group);
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

// Gives the file `name`, this user's and described by `entry`, what a folder with
// `modes` asks for.
Mend mendEntry(int directory, const char* name, const struct stat& entry, const StoreModes& modes) {
    if (modes.shared && entry.st_gid != modes.group &&
        ::fchownat(directory, name, uid_t(-1), modes.group, AT_SYMLINK_NOFOLLOW) != 0) {
        return isUnsupported(errno) ? Mend::Unkept : Mend::Failed;
    }
    // By name, which a file server answers in one round trip; a name that has
    // become a link meanwhile is refused, never followed.
    if (::fchmodat(directory, name, modes.file, AT_SYMLINK_NOFOLLOW) == 0)
        return Mend::Mended;
    int error = errno;
    if (isUnsupported(error)) {
        // No /proc to change a file by name without following a link, or a disk
        // that keeps no modes: through the open file, which tells them apart.
        const int fd = ::openat(directory, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return Mend::Failed;
        error = ::fchmod(fd, modes.file) == 0 ? 0 : errno;
        ::close(fd);
    }
    if (error == 0)
        return Mend::Mended;
    // The file is this user's: only a disk without modes refuses its owner.
    return isUnsupported(error) || error == EPERM ? Mend::Unkept : Mend::Failed;
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
    // The umask may have taken more than the folder allows; the mode is set whole.
    if (::fchmod(fd, isDirectory ? modes.directory : modes.file) != 0 && !keepsNoModes(errno, fd))
        return Failure::ofErrno(errno);
    return {};
}

Mend mendFile(int directory, const QByteArray& name, const StoreModes& modes) {
    struct stat entry;
    if (::fstatat(directory, name.constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(entry.st_mode) || entry.st_uid != ::geteuid() || !isLoose(entry, modes)) {
        return Mend::Nothing;
    }
    return mendEntry(directory, name.constData(), entry, modes);
}

bool mend(int directory, const std::function<QList<QByteArray>()>& names, int inFlight) {
    struct stat folder;
    if (::fstat(directory, &folder) != 0 || folder.st_uid != ::geteuid())
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
        Mend result = mendFile(directory, all[next], modes);
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
    runJobs(std::size_t(all.size() - next), inFlight, [&](std::size_t i) {
        const Mend result = mendFile(directory, all[next + qsizetype(i)], modes);
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
