// Who can read the store: a lab's group folder, private folders, modes mended
// once. Each player runs in a process of its own, as the superuser can arrange.
#include "accounts/signin.h"
#include "accounts/storetesthooks.h"
#include "storetestsupport.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mindlark {
namespace {

using testing::runFirstRunSetup;
using testing::ScratchStore;

constexpr uid_t kTeacher = 4301, kAnn = 4302, kBen = 4303, kOutsider = 4304;
constexpr gid_t kLab = 4400;

UserFields someone(const QString& tag) {
    return UserFields{"Name " + tag, "3" + tag, tag + "@example.org", "user" + tag, "pw" + tag};
}

// "mode group", e.g. "2770 4400".
QString modeOf(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return QString::number(info.st_mode & 07777, 8) + ' ' + QString::number(info.st_gid);
}

// "QK"'s mode and group, then each other one of the marker and the store's files.
QString modesIn(const ScratchStore& scratch) {
    QStringList seen{modeOf(scratch.at("QK")), modeOf(scratch.at("num.qk"))};
    for (const QString& name : scratch.entries("QK"))
        seen += modeOf(scratch.at("QK/" + name));
    seen.removeDuplicates();
    return seen.join(", ");
}

// Makes `folder` a new store's working directory, of `owner` and `group`.
void folderOf(const ScratchStore& folder, uid_t owner, gid_t group, mode_t mode) {
    folder.put("num.qk", "0");
    const QByteArray path = QFile::encodeName(folder.path());
    ASSERT_EQ(::chown(path.constData(), owner, group) | ::chmod(path.constData(), mode), 0);
}

// What `play` returns, run in a child process as `user` (in its own group and
// `group`, unless 0), allowed at most `tasks` processes and threads.
QString asPlayer(uid_t user, gid_t group, const std::function<QString()>& play,
                 rlim_t tasks = RLIM_INFINITY) {
    int pipe[2];
    if (::pipe(pipe) != 0)
        return "no pipe";
    if (::fork() == 0) {
        const rlimit limit{tasks, tasks};
        QByteArray said = "could not become the player";
        try {
            if (::setgroups(group != 0, &group) == 0 && ::setresgid(user, user, user) == 0 &&
                (tasks == RLIM_INFINITY || ::setrlimit(RLIMIT_NPROC, &limit) == 0) &&
                ::setresuid(user, user, user) == 0) {
                said = play().toUtf8();
            }
        } catch (const std::exception& error) {
            said = QByteArray("threw: ") + error.what();
        }
        ::_exit(::write(pipe[1], said.constData(), size_t(said.size())) < 0);
    }
    ::close(pipe[1]);
    QByteArray said(4096, '\0');
    said.resize(std::max<ssize_t>(::read(pipe[0], said.data(), size_t(said.size())), 0));
    ::close(pipe[0]);
    ::wait(nullptr);
    return QString::fromUtf8(said);
}

class StoreModes : public ::testing::Test {
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "only the superuser can play other users";
    }
};

TEST_F(StoreModes, PupilsOfAGroupShareTheFolderTheirTeacherMade) {
    // The group comes with the folder's setgid bit, or each pupil gives it.
    for (const mode_t mode : {02770, 0770}) {
        ScratchStore lab;
        folderOf(lab, kTeacher, kLab, mode);
        const auto play = [&](const char* tag) {
            AccountStore store(lab.path());
            testhooks::setReadsInFlight(8);
            runFirstRunSetup(store);
            store.registerUser(someone(tag));
            return signIn(store, "usera", "pwa").match.value().name;
        };
        EXPECT_EQ(asPlayer(kAnn, kLab, [&] { return play("a"); }), "Name a");
        // Ben reads with no thread to read ahead on: one file at a time.
        EXPECT_EQ(asPlayer(
                      kBen, kLab, [&] { return play("b"); }, 1),
                  "Name a");
        EXPECT_EQ(modesIn(lab), "2770 4400, 660 4400");
    }
}

TEST_F(StoreModes, AWriterOthersCouldNotReadIsToldWhatToDoAndWritesNothing) {
    struct Case {
        uid_t owner, player;  // the folder's, and who sets the store up
        mode_t mode;
        QString error;
    };
    for (const Case& c : {
             Case{kOutsider, kOutsider, 0770,
                  "Cannot create directory QK: the store's folder is shared with the group 4400, "
                  "which 4304 is not in, so its players could not read what 4304 writes: ask "
                  "whoever looks after the folder to add 4304 to 4400, then log in again"},
             Case{kTeacher, kAnn, 0755,
                  "Cannot create directory QK: the store belongs to another user, 4301, who "
                  "could not read what 4302 writes: play in a folder of your own, or ask 4301 "
                  "to share this one with a group you are both in (chgrp GROUP FOLDER; chmod "
                  "2770 FOLDER)"},
         }) {
        ScratchStore folder;
        folderOf(folder, c.owner, kLab, c.mode);
        const auto setUp = [&] {
            AccountStore store(folder.path());
            return testing::storeErrorOf([&] { runFirstRunSetup(store); });
        };
        EXPECT_EQ(asPlayer(c.player, 0, setUp), c.error);
        EXPECT_EQ(folder.entries("."), QStringList{"num.qk"});
    }
}

TEST_F(StoreModes, ALooseStoreIsMendedOnceAndLaterStartsLookNoFurther) {
    // Ann's private store, opened to her group since: its files are not yet.
    // With no thread to spare, they are mended one after another.
    ScratchStore scratch;
    folderOf(scratch, kAnn, kAnn, 0700);
    const auto at = [&](const QString& name) { return QFile::encodeName(scratch.at(name)); };
    const auto play = [&] {
        AccountStore made(scratch.path());
        runFirstRunSetup(made);
        for (const char* tag : {"a", "b", "c"})
            made.registerUser(someone(tag));
        ::chown(at("QK"), kAnn, kLab);
        ::chmod(at("QK"), 0770);
        for (const QString& name : scratch.entries("QK"))
            ::chmod(at("QK/" + name), 0644);
        testhooks::setReadsInFlight(8);
        AccountStore store(scratch.path());
        store.isFirstRun();
        const QString mended = modesIn(scratch);
        // Loosened behind a finished mend's back: later starts do not look.
        ::chmod(at("QK/num.qk"), 0644);
        AccountStore(scratch.path()).isFirstRun();
        return mended + ", later " + modeOf(scratch.at("QK/num.qk")) + ". " +
               store.takeNotes().join("");
    };
    EXPECT_EQ(asPlayer(kAnn, kLab, play, 1),
              "2770 4400, 600 4302, 660 4400, later 644 4400. The store is shared with the group "
              "4400: every member of that group can read the passwords in it.");
}

}  // namespace
}  // namespace mindlark
