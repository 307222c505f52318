#include "accounts/accountstore.h"
#include "lock/copyidentity.h"
#include "storetestsupport.h"

#include <gtest/gtest.h>

#include <QProcess>

using mindlark::AccountStore;
using mindlark::UserFields;
using mindlark::testing::ScratchStore;
using mindlark::testing::withUsers;

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome qkstore(const QStringList& arguments) {
    QProcess process;
    process.start(QKSTORE_PATH, arguments);
    Outcome outcome;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        return outcome;
    }
    outcome.exitCode = process.exitCode();
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

QStringList lines(const QString& text) {
    return text.split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace

TEST(QkstoreTool, TextPrintsExactlyThePlainText) {
    ScratchStore scratch;
    const QString value = QStringLiteral("Ünal علي\r\nsecond line ");
    scratch.put("QK/mnp%qk 0dN.qk", value);
    Outcome result = qkstore({"text", scratch.at("QK/mnp%qk 0dN.qk")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, value);
    EXPECT_EQ(result.err, "");
    // Named regardless of case, as the game reads it.
    result = qkstore({"text", scratch.at("QK/MNP%QK 0DN.QK")});
    EXPECT_EQ(result.out, value);

    scratch.putBytes("QK/junk", "plain words");
    result = qkstore({"text", scratch.at("QK/junk")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.startsWith("qkstore: Cannot read " + scratch.at("QK/junk") +
                                      ": not a valid store file ("))
        << result.err.toStdString();
    result = qkstore({"text", scratch.at("nothing")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "qkstore: Cannot read " + scratch.at("nothing") + ": No such file or directory\n");
    EXPECT_EQ(qkstore({"text", scratch.path()}).exitCode, 1);
}

TEST(QkstoreTool, BadArgumentsGiveUsage) {
    for (const QStringList& arguments :
         {QStringList{}, QStringList{"frobnicate", "x"}, QStringList{"text"},
          QStringList{"list", "a", "b"}, QStringList{"check", ""}}) {
        const Outcome result = qkstore(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains("usage: qkstore text FILE")) << result.err.toStdString();
        EXPECT_EQ(result.out, "");
    }
    const Outcome help = qkstore({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("usage: qkstore"));
}

TEST(QkstoreTool, ListShowsUsersButNeverPasswords) {
    ScratchStore scratch;
    withUsers(scratch, {{"Ann", "30", "a@x.org", "ann", "secret-one"},
                        {"Tab\tand\\slash", "", "", "bob", "secret-two"},
                        {"Cy", "7", "c@x.org", "cy", "secret-three"}});
    scratch.put("QK/num.qk", "2");  // the third user lies beyond the counter
    const Outcome result = qkstore({"list", scratch.path()});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              "number\tname\tage\te-mail\tuser name\n"
              "0\tAnn\t30\ta@x.org\tann\n"
              "1\tTab\\tand\\\\slash\t\t\tbob\n");
    EXPECT_FALSE(result.out.contains("secret"));
    EXPECT_EQ(result.err, "");
}

TEST(QkstoreTool, ListReportsWhatItCannotRead) {
    ScratchStore scratch;
    withUsers(scratch, {{"Ann", "30", "a@x.org", "ann", "pw"}, {"Bob", "41", "", "bob", "pw"}});
    QFile::remove(scratch.at("QK/map%qk 1dA.qk"));
    scratch.put("QK/num.qk", "1000000000000");  // far beyond the files: still quick
    Outcome result = qkstore({"list", scratch.path()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(lines(result.out), (QStringList{"number\tname\tage\te-mail\tuser name",
                                              "0\tAnn\t30\ta@x.org\tann", "1\tBob\t\t\tbob"}));
    EXPECT_EQ(lines(result.err),
              (QStringList{"qkstore: Cannot read QK/map%qk 1dA.qk: No such file or directory",
                           "qkstore: Users 2 to 999999999999 have no files"}));

    scratch.put("QK/num.qk", "two");
    result = qkstore({"list", scratch.path()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "qkstore: QK/num.qk holds \"two\", which is not a user count\n");

    result = qkstore({"list", scratch.at("missing")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "qkstore: Cannot open " + scratch.at("missing") + ": No such file or directory\n");
}

TEST(QkstoreTool, CheckPassesASoundStore) {
    ScratchStore scratch;
    withUsers(scratch, {{"Ann", "30", "a@x.org", "ann", "pw"}, {"Bob", "41", "", "bob", "pw"}});
    const Outcome result = qkstore({"check", scratch.path()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "2 users, no problems found\n");

    ScratchStore fresh;
    fresh.put("num.qk", "0");
    const Outcome notSetUp = qkstore({"check", fresh.path()});
    EXPECT_EQ(notSetUp.exitCode, 0);
    EXPECT_EQ(notSetUp.out,
              "note: the store is not set up yet; the first start will do it\n"
              "no user count, no problems found\n");
}

TEST(QkstoreTool, CheckReportsEveryKindOfDamage) {
    ScratchStore scratch;
    withUsers(scratch, {{"A", "1", "", "a", "1"},
                        {"B", "2", "", "b", "2"},
                        {"C", "3", "", "c", "3"},
                        {"D", "4", "", "d", "4"}});
    scratch.put("QK/num.qk", "6");
    QFile::remove(scratch.at("QK/mep%qk 0dE.qk"));       // missing
    scratch.putBytes("QK/mpp%qk 1dp.qk", "garbage");     // unreadable
    scratch.put("QK/MUP%QK 2DU.QK", "c again");          // a second spelling
    for (const QString& name : scratch.entries("QK")) {  // user 3 gone entirely
        if (name.contains(" 3d"))
            QFile::remove(scratch.at("QK/" + name));
    }
    QFile::remove(scratch.at("QK/mnp%qk 0dN.qk"));  // a link to a file outside
    scratch.put("outside", "A");
    QFile::link(scratch.at("outside"), scratch.at("QK/mnp%qk 0dN.qk"));
    scratch.put("QK/mnp%qk 7dN.qk", "Ghost");     // beyond the counter
    scratch.put("QK/.num.qk.tmp-abcd1234", "9");  // a crash's leftover
    // The lock of a copy of this machine that died while writing.
    const mindlark::CopyIdentity& me = mindlark::CopyIdentity::self();
    scratch.put("QK/.lock.qk", QStringLiteral("mindlark store lock; host=%1; boot=%2; pid=%3; "
                                              "started=; token=t; since=2026-01-01T00:00:00Z")
                                   .arg(me.host, me.boot)
                                   .arg(1 << 30));
    scratch.put("QK/notes.txt", "hello");  // not a store file
    const Outcome result = qkstore({"check", scratch.path()});
    EXPECT_EQ(result.exitCode, 1);
    const QStringList expected{
        "unreadable: QK/mnp%qk 0dN.qk: a symbolic link, which the game does not follow",
        "missing: QK/mep%qk 0dE.qk",
        "unreadable: QK/mpp%qk 1dp.qk: not a valid store file",
        "duplicate: QK/mup%qk 2du.qk exists as \"MUP%QK 2DU.QK\", \"mup%qk 2du.qk\"",
        "missing: Users 3 to 5 have no files",
        "note: beyond the counter: QK/mnp%qk 7dN.qk",
        "note: a lock left by a copy of the game that has ended (on " + me.host,
        "note: left over from an interrupted write: QK/.num.qk.tmp-abcd1234",
        "note: not a store file: QK/notes.txt",
        "6 users, 5 problems found"};
    const QStringList got = lines(result.out);
    ASSERT_EQ(got.size(), expected.size()) << result.out.toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(got[i].startsWith(expected[i])) << got[i].toStdString();
    }
}

TEST(QkstoreTool, CheckReportsABrokenMarkerDirectoryAndCounter) {
    ScratchStore scratch;
    scratch.put("num.qk", "yes");
    scratch.put("NUM.QK", "1");
    scratch.put("QK/num.qk", "-3");
    Outcome result = qkstore({"check", scratch.path()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(lines(result.out),
              (QStringList{"duplicate: num.qk exists as \"NUM.QK\", \"num.qk\"",
                           "inconsistent: num.qk holds \"yes\", neither \"0\" nor \"1\"",
                           "inconsistent: QK/num.qk holds \"-3\", which is not a user count",
                           "no user count, 3 problems found"}));

    ScratchStore noStore;
    noStore.put("num.qk", "1");
    result = qkstore({"check", noStore.path()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(lines(result.out),
              (QStringList{"missing: QK (the store directory)", "no user count, 1 problem found"}));

    noStore.putBytes("QK", "a file");
    result = qkstore({"check", noStore.path()});
    EXPECT_EQ(lines(result.out), (QStringList{"inconsistent: QK is not a directory",
                                              "no user count, 1 problem found"}));
}

TEST(QkstoreTool, CheckAgreesWithTheGameOnWhatItRepairsAndWhatItRefuses) {
    struct Case {
        const char* marker;
        const char* counter;  // nullptr: no counter file
        int exitCode;
        const char* lastLines;
    };
    const Case cases[] = {
        // An interrupted first run: the next start finishes it, counting every user.
        {"0", nullptr, 0,
         "note: the marker still says \"0\"; the next start keeps this store\n"
         "note: QK/num.qk is missing; the next start writes it as \"2\"\n"},
        {"1", nullptr, 1, "missing: QK/num.qk (the user counter)\n"},
        // Registration refuses a counter that leaves no number for the next user.
        {"1", "9223372036854775807", 1,
         "inconsistent: QK/num.qk holds \"9223372036854775807\", which is not a user count\n"},
    };
    for (const Case& c : cases) {
        ScratchStore scratch;
        scratch.put("num.qk", c.marker);
        scratch.put("QK/mnp%qk 1dN.qk", "left by an interrupted registration");
        if (c.counter)
            scratch.put("QK/num.qk", c.counter);
        const Outcome result = qkstore({"check", scratch.path()});
        EXPECT_EQ(result.exitCode, c.exitCode) << result.out.toStdString();
        const QString body = result.out.left(result.out.lastIndexOf(u'\n', -2) + 1);
        EXPECT_TRUE(body.endsWith(QString::fromUtf8(c.lastLines))) << result.out.toStdString();
    }
}
