// Who can read the store: a lab's group folder shared by its pupils, private
// folders, and modes mended once at start. Each player runs in a process of its
// own, as the superuser can arrange.
#include "accounts/accountstore.h"
#include "accounts/signin.h"
#include "accounts/storetesthooks.h"
#include "storetestsupport.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace mindlark {
namespace {

using testing::runFirstRunSetup;
using testing::ScratchStore;
using testing::storeErrorOf;

constexpr uid_t kTeacher = 4301, kAnn = 4302, kBen = 4303, kOutsider = 4304;
constexpr gid_t kLab = 4400;

UserFields someone(const QString& tag) {
    return UserFields{"Name " + tag, "3" + tag, tag + "@example.org", "user" + tag, "pw" + tag};
}

struct stat statusOf(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}

// "mode group", e.g. "2770 4400".
QString modeOf(const QString& path) {
    const struct stat info = statusOf(path);
    return QString::number(info.st_mode & 07777, 8) + ' ' + QString::number(info.st_gid);
}

void own(const QString& path, uid_t user, gid_t group, mode_t mode) {
    ::chown(QFile::encodeName(path).constData(), user, group);
    ::chmod(QFile::encodeName(path).constData(), mode);
}

// What `play` returns, run in a child process as `user` (in its own group and
// `groups`), allowed at most `tasks` processes and threads (0: no bound).
QString asPlayer(uid_t user, std::vector<gid_t> groups, const std::function<QString()>& play,
                 rlim_t tasks = 0) {
    int pipe[2];
    if (::pipe(pipe) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{tasks, tasks};
        const bool became = ::setgroups(groups.size(), groups.data()) == 0 &&
                            ::setresgid(user, user, user) == 0 &&
                            ::setresuid(user, user, user) == 0 &&
                            (tasks == 0 || ::setrlimit(RLIMIT_NPROC, &limit) == 0);
        QByteArray said = "could not become the player";
        try {
            if (became)
                said = play().toUtf8();
        } catch (const std::exception& error) {
            said = QByteArray("threw: ") + error.what();
        }
        ::_exit(::write(pipe[1], said.constData(), size_t(said.size())) == said.size() ? 0 : 1);
    }
    ::close(pipe[1]);
    QByteArray said(4096, '\0');
    said.resize(std::max<ssize_t>(::read(pipe[0], said.data(), size_t(said.size())), 0));
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? QString::fromUtf8(said) : "the player's copy ended abnormally";
}

class StoreModes : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "only the superuser can play other users";
    }
};

TEST_F(StoreModes, PupilsOfAGroupShareTheFolderTheirTeacherMade) {
    // The group comes with the folder's setgid bit, or each pupil gives it.
    for (const mode_t folder : {02770, 0770}) {
        ScratchStore lab;
        lab.put("num.qk", "0");
        own(lab.path(), kTeacher, kLab, folder);
        EXPECT_EQ(asPlayer(kAnn, {kLab},
                           [&] {
                               AccountStore ann(lab.path());
                               return storeErrorOf([&] {
                                   runFirstRunSetup(ann);
                                   ann.registerUser(someone("a"));
                               });
                           }),
                  "<no error>");
        // Ben reads the store with no thread to read ahead on: one file at a time.
        EXPECT_EQ(asPlayer(
                      kBen, {kLab},
                      [&] {
                          AccountStore ben(lab.path());
                          testhooks::setReadsInFlight(8);
                          ben.registerUser(someone("b"));
                          return signIn(ben, "usera", "pwa").match->name;
                      },
                      1),
                  "Name a");
        const QString group = QString::number(kLab);
        EXPECT_EQ(modeOf(lab.at("QK")), "2770 " + group);
        EXPECT_EQ(modeOf(lab.at("num.qk")), "660 " + group);
        EXPECT_EQ(lab.entries("QK").size(), 1 + 2 * 5);
        for (const QString& name : lab.entries("QK"))
            EXPECT_EQ(modeOf(lab.at("QK/" + name)), "660 " + group) << name.toStdString();
    }
}

TEST_F(StoreModes, AWriterOthersCouldNotReadIsToldWhatToDoAndWritesNothing) {
    struct Case {
        uid_t owner;
        mode_t mode;
        uid_t player;
        QString error;
    };
    for (const Case& c : {
             Case{kOutsider, 0770, kOutsider,
                  "Cannot create directory QK: the store's folder is shared with the group 4400, "
                  "which 4304 is not in, so its players could not read what 4304 writes: ask "
                  "whoever looks after the folder to add 4304 to 4400, then log in again"},
             Case{kTeacher, 0755, kAnn,
                  "Cannot create directory QK: the store belongs to another user, 4301, who "
                  "could not read what 4302 writes: play in a folder of your own, or ask 4301 "
                  "to share this one with a group you are both in (chgrp GROUP FOLDER; chmod "
                  "2770 FOLDER)"},
         }) {
        ScratchStore folder;
        folder.put("num.qk", "0");
        own(folder.path(), c.owner, kLab, c.mode);
        EXPECT_EQ(asPlayer(c.player, {},
                           [&] {
                               AccountStore store(folder.path());
                               return storeErrorOf([&] { runFirstRunSetup(store); });
                           }),
                  c.error);
        EXPECT_EQ(folder.entries("."), QStringList{"num.qk"});
    }
}

TEST_F(StoreModes, ALooseStoreIsMendedOnceAndLaterStartsLookNoFurther) {
    struct Case {
        mode_t folder;   // what "QK" was made, or opened to the group
        rlim_t tasks;    // how many threads could start
        QString mended;  // "QK, its files, a later start, the note"
    };
    for (const Case& c : {
             Case{0755, 0, "700 4400, 600 4302, later 644 4302, "},
             Case{0770, 1,
                  "2770 4400, 660 4400, later 644 4400, The store is shared with the group "
                  "4400: every member of that group can read the passwords in it."},
         }) {
        ScratchStore scratch;
        own(scratch.path(), kAnn, kAnn, 0700);
        const QString said = asPlayer(
            kAnn, {kLab},
            [&] {
                scratch.put("num.qk", "1");
                scratch.put("QK/num.qk", "0");
                for (const char* tag : {"a", "b", "c"})
                    AccountStore(scratch.path()).registerUser(someone(tag));
                own(scratch.at("QK"), kAnn, kLab, c.folder);
                for (const QString& name : scratch.entries("QK"))
                    ::chmod(QFile::encodeName(scratch.at("QK/" + name)).constData(), 0644);
                testhooks::setReadsInFlight(8);
                AccountStore store(scratch.path());
                store.isFirstRun();
                QStringList seen{modeOf(scratch.at("QK"))};
                for (const QString& name : scratch.entries("QK"))
                    seen += modeOf(scratch.at("QK/" + name));
                seen.removeDuplicates();
                // Loosened behind a finished mend's back: no later start looks.
                const QString loosened = scratch.at("QK/num.qk");
                ::chmod(QFile::encodeName(loosened).constData(), 0644);
                const timespec before = statusOf(scratch.at("QK")).st_ctim;
                AccountStore(scratch.path()).isFirstRun();
                const timespec after = statusOf(scratch.at("QK")).st_ctim;
                seen += "later " + modeOf(loosened) +
                        (before.tv_sec == after.tv_sec && before.tv_nsec == after.tv_nsec
                             ? ""
                             : " QK changed");
                return seen.join(", ") + ", " + store.takeNotes().join("");
            },
            c.tasks);
        EXPECT_EQ(said, c.mended);
    }
}

}  // namespace
}  // namespace mindlark
