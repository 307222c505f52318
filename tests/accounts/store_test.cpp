#include "accounts/accountstore.h"
#include "accounts/foldeddirectory.h"
#include "accounts/registration.h"
#include "accounts/storeerror.h"
#include "accounts/storefiles.h"
#include "accounts/storenames.h"
#include "accounts/storetesthooks.h"
#include "lock/storelock.h"
#include "numbers/numbers.h"
#include "rtf/rtf.h"
#include "storetestsupport.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <cerrno>

using mindlark::AccountStore;
using mindlark::Field;
using mindlark::UserFields;
using mindlark::testing::runFirstRunSetup;
using mindlark::testing::ScratchStore;
using mindlark::testing::setUpStore;
using mindlark::testing::someone;
using mindlark::testing::storeErrorOf;
namespace storenames = mindlark::storenames;
namespace storefiles = mindlark::storefiles;
namespace rtf = mindlark::rtf;

namespace {

QString missing() {
    return qt_error_string(ENOENT);
}

int modeOf(const QString& path) {
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}

}  // namespace

TEST(StoreNames, NamesCarryTheNumberLabelBetweenPrefixAndSuffix) {
    EXPECT_EQ(storenames::writeName(Field::Name, 0), "mnp%qk 0dN.qk");
    EXPECT_EQ(storenames::writeName(Field::Age, 4), "map%qk 4dA.qk");
    EXPECT_EQ(storenames::writeName(Field::Email, 10), "mep%qk 10dE.qk");
    EXPECT_EQ(storenames::writeName(Field::UserName, 7), "mup%qk 7du.qk");
    EXPECT_EQ(storenames::writeName(Field::Password, 3), "mpp%qk 3dp.qk");
    EXPECT_EQ(storenames::readName(Field::UserName, 7), "mup%qk 7dU.qk");
    EXPECT_EQ(storenames::readName(Field::Password, 3), "mpp%qk 3dP.qk");
    EXPECT_EQ(storenames::readName(Field::Name, 3), "mnp%qk 3dN.qk");
}

TEST(StoreNames, ParsingAcceptsAnyCaseButOnlyTheLabelsTheProgramWrites) {
    const auto parsed = storenames::parse(u"MUP%QK 12DU.QK");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_FALSE(parsed->isCounter);
    EXPECT_EQ(parsed->field, Field::UserName);
    EXPECT_EQ(parsed->user, 12);
    EXPECT_TRUE(storenames::parse(u"NUM.QK")->isCounter);
    for (const char16_t* other :
         {u"mup%qk 07du.qk", u"mup%qk7du.qk", u"mup%qk  7du.qk", u"mup%qk -1du.qk", u"mup%qk du.qk",
          u"mup%qk 7dx.qk", u".mup%qk 7du.qk.tmp-abcdefgh", u"mup%qk 99999999999999999999du.qk"}) {
        EXPECT_FALSE(storenames::parse(other).has_value())
            << QString::fromUtf16(other).toStdString();
    }
    EXPECT_EQ(storenames::canonicalCase("MPP%QK 3DP.QK"), "mpp%qk 3dp.qk");
    EXPECT_EQ(storenames::canonicalCase("Readme.TXT"), "Readme.TXT");
    EXPECT_EQ(storenames::canonicalCase("qk"), "QK");
    EXPECT_TRUE(storenames::isCanonical("mup%qk 7du.qk"));
    EXPECT_FALSE(storenames::isCanonical("mup%qk 7dU.qk"));
    EXPECT_FALSE(storenames::isCanonical("notes.txt"));
}

TEST(AccountStoreFiles, RegisteredValuesAreStoredAsTheWriterWritesThemAndReadBackExactly) {
    ScratchStore scratch;
    setUpStore(scratch);
    AccountStore store(scratch.path());
    const UserFields fields{QStringLiteral("{Sami} \\ Ünal"), QString(), QStringLiteral("  "),
                            QStringLiteral("علي Ali"), QStringLiteral("P\\a{ss}\tWORD\r\nx")};
    EXPECT_EQ(store.registerUser(fields), "1");
    EXPECT_EQ(scratch.bytes("QK/mnp%qk 0dN.qk"), rtf::write(fields.name));
    EXPECT_EQ(scratch.bytes("QK/map%qk 0dA.qk"), rtf::write(fields.age));
    EXPECT_EQ(scratch.bytes("QK/mep%qk 0dE.qk"), rtf::write(fields.email));
    EXPECT_EQ(scratch.bytes("QK/mup%qk 0du.qk"), rtf::write(fields.userName));
    EXPECT_EQ(scratch.bytes("QK/mpp%qk 0dp.qk"), rtf::write(fields.password));
    EXPECT_EQ(scratch.bytes("QK/num.qk"), rtf::write("1"));

    AccountStore reader(scratch.path());
    for (const Field field : mindlark::kFields)
        EXPECT_EQ(reader.readField(field, 0), valueOf(fields, field));
}

TEST(AccountStoreFiles, NamesAreMatchedRegardlessOfCaseBothWays) {
    ScratchStore scratch;
    // Brought over from Windows: directory and files in capitals, counter in mixed case.
    scratch.put("num.qk", "1");
    scratch.put("qk/Num.QK", "2");
    scratch.put("qk/MUP%QK 0DU.QK", "ann");
    scratch.put("qk/mpp%qk 0dP.qk", "secret");
    scratch.put("qk/mup%qk 1du.qk", "bob");
    scratch.put("qk/MPP%QK 1DP.QK", "hunter2");
    scratch.put("qk/mnp%qk 1Dn.qk", "Bob B");
    AccountStore store(scratch.path());
    EXPECT_EQ(store.loadCounterText(), "2");
    EXPECT_EQ(store.readField(Field::UserName, 0), "ann");
    EXPECT_EQ(store.readField(Field::Password, 0), "secret");
    EXPECT_EQ(store.readField(Field::UserName, 1), "bob");
    EXPECT_EQ(store.readField(Field::Password, 1), "hunter2");
    EXPECT_EQ(store.readField(Field::Name, 1), "Bob B");
    EXPECT_FALSE(store.isFirstRun());

    // The counter is replaced under the name it has; no second spelling appears.
    EXPECT_EQ(store.registerUser(someone("c")), "3");
    const QStringList entries = scratch.entries("qk");
    EXPECT_TRUE(entries.contains("Num.QK"));
    EXPECT_FALSE(entries.contains("num.qk"));
    EXPECT_EQ(scratch.bytes("qk/Num.QK"), rtf::write("3"));
}

TEST(AccountStoreFiles, WritesLeaveOtherSpellingsAloneAndWriteTheSpellingThatIsRead) {
    ScratchStore scratch;
    setUpStore(scratch, "1");
    scratch.put("QK/NUM.QK", "5");
    scratch.put("QK/MUP%QK 1DU.QK", "old capitals");
    scratch.put("QK/mpp%qk 1dP.qk", "old as sign-in asks");
    AccountStore store(scratch.path());
    EXPECT_EQ(store.registerUser(someone("a")), "2");
    EXPECT_EQ(scratch.bytes("QK/NUM.QK"), rtf::write("5"));
    EXPECT_EQ(scratch.bytes("QK/MUP%QK 1DU.QK"), rtf::write("old capitals"));
    EXPECT_EQ(scratch.entries("QK").size(), 8);  // the user's five, the counter, two variants
    AccountStore reader(scratch.path());
    EXPECT_EQ(reader.loadCounterText(), "2");
    EXPECT_EQ(reader.readField(Field::UserName, 1), "usera");
    EXPECT_EQ(reader.readField(Field::Password, 1), "pwa");
}

TEST(AccountStoreFiles, FilesArrivingUnderAnotherCaseAfterTheFirstLookupAreFound) {
    ScratchStore scratch;
    setUpStore(scratch, "1");
    scratch.put("QK/MNP%QK 0DN.QK", "first");
    AccountStore store(scratch.path());
    EXPECT_EQ(store.readField(Field::Name, 0), "first");  // builds the index
    scratch.put("QK/MAP%QK 0DA.QK", "40");
    EXPECT_EQ(store.readField(Field::Age, 0), "40");  // rebuilt once on the miss
    EXPECT_EQ(storeErrorOf([&] { store.readField(Field::Email, 0); }),
              "Cannot read QK/mep%qk 0dE.qk: " + missing());
}

TEST(AccountStoreFiles, EveryFileIsOwnerOnlyAndTheDirectoryToo) {
    ScratchStore scratch;
    scratch.put("num.qk", "0");
    const mode_t previous = ::umask(0);  // the store must not rely on the umask
    AccountStore store(scratch.path());
    EXPECT_TRUE(runFirstRunSetup(store));
    store.registerUser(someone("a"));
    ::umask(previous);
    EXPECT_EQ(modeOf(scratch.at("QK")), 0700);
    EXPECT_EQ(modeOf(scratch.at("num.qk")), 0600);
    for (const QString& name : scratch.entries("QK")) {
        EXPECT_EQ(modeOf(scratch.at("QK/" + name)), 0600) << name.toStdString();
    }
    EXPECT_EQ(scratch.entries("QK").size(), 6);
}

namespace {

// Stands for a crash just before the rename numbered `renamesLeft`, from 0.
int renamesLeft = -1;
void crashBeforePlacing(const QByteArray&, const QByteArray&) {
    if (renamesLeft-- == 0)
        throw std::runtime_error("simulated crash");
}

}  // namespace

TEST(AccountStoreFiles, ARegistrationCrashedBeforeItsCounterRaisesNoCounterAndLosesNothing) {
    using mindlark::kFields;
    const QString tags[] = {"0", "1", "y"};
    // A registration writes its five files, then puts the counter in place.
    for (int crashAt = 0; crashAt <= 5; ++crashAt) {
        ScratchStore scratch;
        setUpStore(scratch, "0");
        AccountStore store(scratch.path());
        store.registerUser(someone(tags[0]));
        store.registerUser(someone(tags[1]));
        renamesLeft = crashAt;
        mindlark::testhooks::setBeforePlacing(&crashBeforePlacing);
        EXPECT_THROW(store.registerUser(someone("x")), std::runtime_error);
        mindlark::testhooks::setBeforePlacing(nullptr);
        EXPECT_EQ(AccountStore(scratch.path()).loadCounterText(), "2") << crashAt;
        for (int i = 0; i < int(kFields.size()); ++i) {
            const QString name = storenames::writeName(kFields[std::size_t(i)], 2);
            EXPECT_EQ(QFile::exists(scratch.at("QK/" + name)), i < crashAt) << crashAt;
        }
        // The next registration takes the number again, and every account is whole.
        EXPECT_EQ(store.registerUser(someone(tags[2])), "3") << crashAt;
        for (int user = 0; user < 3; ++user) {
            for (const Field field : kFields)
                EXPECT_EQ(store.readField(field, user), valueOf(someone(tags[user]), field));
        }
    }
}

TEST(AccountStoreFiles, AFailedWriteNamesTheFileAndLeavesNoTemporary) {
    ScratchStore scratch;
    setUpStore(scratch, "1");
    QDir().mkpath(scratch.at("QK/mnp%qk 1dN.qk"));  // a directory where the file goes
    AccountStore store(scratch.path());
    EXPECT_EQ(storeErrorOf([&] { store.registerUser(someone("a")); }),
              "Cannot write QK/mnp%qk 1dN.qk: " + qt_error_string(EISDIR));
    EXPECT_EQ(scratch.entries("QK"), (QStringList{"mnp%qk 1dN.qk", "num.qk"}));
    EXPECT_EQ(store.loadCounterText(), "1");
}

TEST(AccountStoreHostile, DamagedFilesGiveMessagesNamingTheFile) {
    ScratchStore scratch;
    scratch.put("num.qk", "1");
    AccountStore store(scratch.path());
    EXPECT_EQ(storeErrorOf([&] { store.loadCounterText(); }),
              "Cannot read QK/num.qk: " + missing());

    // A counter that is no document is written again (see the sharing tests);
    // one the system will not read is reported.
    scratch.putBytes("QK/num.qk", QByteArray(3 << 20, '{'));
    EXPECT_TRUE(
        storeErrorOf([&] { store.loadCounterText(); }).startsWith("Cannot read QK/num.qk: "));

    QFile::remove(scratch.at("QK/num.qk"));
    QDir().mkpath(scratch.at("QK/num.qk"));
    EXPECT_EQ(storeErrorOf([&] { store.loadCounterText(); }),
              "Cannot read QK/num.qk: " + qt_error_string(EISDIR));
    EXPECT_EQ(storeErrorOf([&] { store.registerUser(someone("a")); }),
              "Cannot read QK/num.qk: " + qt_error_string(EISDIR));

    // A FIFO must not hang the reader waiting for a writer.
    QDir(scratch.at("QK")).rmdir("num.qk");
    ASSERT_EQ(::mkfifo(QFile::encodeName(scratch.at("QK/num.qk")).constData(), 0600), 0);
    EXPECT_EQ(storeErrorOf([&] { store.loadCounterText(); }),
              "Cannot read QK/num.qk: not a regular file");
}

TEST(AccountStoreHostile, AStoreDirectoryThatIsAFileIsReported) {
    ScratchStore scratch;
    scratch.put("num.qk", "1");
    scratch.putBytes("QK", "not a directory");
    AccountStore store(scratch.path());
    EXPECT_EQ(storeErrorOf([&] { store.loadCounterText(); }),
              "Cannot read QK/num.qk: " + qt_error_string(ENOTDIR));
    scratch.put("num.qk", "0");
    EXPECT_EQ(storeErrorOf([&] { runFirstRunSetup(store); }),
              "Cannot create directory QK: " + qt_error_string(EEXIST));
}

TEST(AccountStoreHostile, AnUnreadableFileIsReported) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    ScratchStore scratch;
    setUpStore(scratch, "1");
    ::chmod(QFile::encodeName(scratch.at("QK/num.qk")).constData(), 0);
    AccountStore store(scratch.path());
    EXPECT_EQ(storeErrorOf([&] { store.loadCounterText(); }),
              "Cannot read QK/num.qk: " + qt_error_string(EACCES));
}

TEST(AccountStoreCounter, TheTwoReadingsOfACounter) {
    ScratchStore scratch;
    setUpStore(scratch, "12abc");
    AccountStore store(scratch.path());
    const QString text = store.loadCounterText();
    EXPECT_EQ(mindlark::readNumberLeniently(text), 12);            // how a sign-in counts it
    EXPECT_FALSE(mindlark::readNumberStrictly(text).has_value());  // how start-up checks it
    EXPECT_EQ(storeErrorOf([&] { store.registerUser(someone("a")); }),
              "QK/num.qk holds \"12abc\", which is not a user count");
    EXPECT_EQ(scratch.entries("QK"), QStringList{"num.qk"});  // nothing of the user written

    scratch.put("QK/num.qk", "-1");
    EXPECT_EQ(storeErrorOf([&] { store.registerUser(someone("a")); }),
              "QK/num.qk holds \"-1\", which is not a user count");
    scratch.put("QK/num.qk", " 2 ");
    EXPECT_EQ(store.registerUser(someone("a")), "3");
    EXPECT_EQ(store.readField(Field::UserName, 2), "usera");
}

TEST(AccountStoreRegistration, NumbersFollowTheCounter) {
    ScratchStore scratch;
    setUpStore(scratch, "9");
    AccountStore store(scratch.path());
    EXPECT_EQ(store.registerUser(someone("9")), "10");
    EXPECT_EQ(store.registerUser(someone("10")), "11");
    EXPECT_EQ(scratch.entries("QK"),
              (QStringList{"map%qk 10dA.qk", "map%qk 9dA.qk", "mep%qk 10dE.qk", "mep%qk 9dE.qk",
                           "mnp%qk 10dN.qk", "mnp%qk 9dN.qk", "mpp%qk 10dp.qk", "mpp%qk 9dp.qk",
                           "mup%qk 10du.qk", "mup%qk 9du.qk", "num.qk"}));
    EXPECT_EQ(store.loadCounterText(), "11");
    EXPECT_EQ(store.readField(Field::Name, 9), "Name 9");
    EXPECT_EQ(store.readField(Field::Email, 10), "10@example.org");
}

TEST(AccountStoreRegistration, TheCounterIsReloadedFromDiskNotRemembered) {
    ScratchStore scratch;
    setUpStore(scratch, "0");
    AccountStore first(scratch.path());
    AccountStore second(scratch.path());
    EXPECT_EQ(first.registerUser(someone("a")), "1");
    EXPECT_EQ(second.registerUser(someone("b")), "2");
    EXPECT_EQ(first.registerUser(someone("c")), "3");
    EXPECT_EQ(first.readField(Field::UserName, 1), "userb");
}

TEST(AccountStoreRegistration, AMissingStoreDirectoryIsReported) {
    ScratchStore scratch;
    scratch.put("num.qk", "1");
    AccountStore store(scratch.path());
    EXPECT_EQ(storeErrorOf([&] { store.registerUser(someone("a")); }),
              "Cannot lock QK: " + missing());
}

TEST(FirstRunSetUp, MarkerZeroCreatesTheStoreAndSetsTheMarker) {
    ScratchStore scratch;
    scratch.put("num.qk", "0");
    AccountStore store(scratch.path());
    EXPECT_TRUE(runFirstRunSetup(store));
    EXPECT_EQ(scratch.text("num.qk"), "1");
    EXPECT_EQ(store.loadCounterText(), "0");
    EXPECT_EQ(
        scratch.bytes("QK/num.qk"),
        QByteArray("{\\rtf1\\fbidis\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 MS "
                   "Sans Serif;}}\r\n"
                   "\\viewkind4\\uc1\\pard\\ltrpar\\lang10241\\f0\\fs17 0\r\n"
                   "\\par }\r\n"));
    EXPECT_EQ(scratch.entries("QK"), QStringList{"num.qk"});
    EXPECT_FALSE(runFirstRunSetup(store));  // the marker now says "1"
}

TEST(FirstRunSetUp, AnExistingStoreAndCounterAreKept) {
    ScratchStore scratch;
    scratch.put("NUM.QK", "0");  // shipped again, say by a reinstall
    scratch.put("qk/NUM.QK", "4");
    scratch.put("qk/mup%qk 3du.qk", "dina");
    AccountStore store(scratch.path());
    EXPECT_TRUE(runFirstRunSetup(store));
    EXPECT_EQ(store.loadCounterText(), "4");
    EXPECT_EQ(scratch.entries(""), (QStringList{"NUM.QK", "qk"}));
    EXPECT_EQ(scratch.entries("qk"), (QStringList{"NUM.QK", "mup%qk 3du.qk"}));
    EXPECT_EQ(scratch.text("NUM.QK"), "1");

    // A directory without a counter gets one; a damaged counter is not overwritten.
    ScratchStore bare;
    bare.put("num.qk", "0");
    QDir().mkpath(bare.at("QK"));
    AccountStore bareStore(bare.path());
    EXPECT_TRUE(runFirstRunSetup(bareStore));
    EXPECT_EQ(bareStore.loadCounterText(), "0");
    bare.put("num.qk", "0");
    bare.putBytes("QK/num.qk", "damaged");
    EXPECT_TRUE(runFirstRunSetup(bareStore));
    EXPECT_EQ(bare.bytes("QK/num.qk"), "damaged");
}

TEST(FirstRunSetUp, OnlyExactlyZeroRunsIt) {
    for (const QString& marker : {QStringLiteral("1"), QStringLiteral(" 0"), QStringLiteral("00"),
                                  QStringLiteral("0\r\n"), QString()}) {
        ScratchStore scratch;
        scratch.put("num.qk", marker);
        AccountStore store(scratch.path());
        EXPECT_FALSE(runFirstRunSetup(store)) << marker.toStdString();
        EXPECT_EQ(scratch.entries(""), QStringList{"num.qk"});
        EXPECT_EQ(scratch.text("num.qk"), marker);
    }
}

TEST(FirstRunSetUp, AMissingOrDamagedMarkerIsAnError) {
    ScratchStore scratch;
    AccountStore store(scratch.path());
    EXPECT_EQ(storeErrorOf([&] { runFirstRunSetup(store); }), "Cannot read num.qk: " + missing());
    scratch.putBytes("num.qk", "0");
    EXPECT_TRUE(storeErrorOf([&] {
                    runFirstRunSetup(store);
                }).startsWith("Cannot read num.qk: not a valid store file ("));
    EXPECT_TRUE(scratch.entries("").size() == 1);
}

TEST(FoldedDirectoryErrors, ADirectoryThatCannotBeListedIsAnErrorNotAnAbsentEntry) {
    ScratchStore scratch;
    scratch.putBytes("plain", "a file where a directory should be");
    mindlark::FoldedDirectory notADirectory(QFile::encodeName(scratch.at("plain")));
    const QString name = QStringLiteral("Mixed.Case");
    const std::pair<const char*, int> errors[] = {
        {"has", notADirectory.has(name, name).error()},
        {"findEntry", notADirectory.findEntry(name).error()},
        {"variants", notADirectory.variants(name).error()},
        {"read", notADirectory.read(name, name).error()},
        {"replace", notADirectory.replace(name, name, "x").error()},
    };
    for (const auto& [operation, error] : errors)
        EXPECT_EQ(error, ENOTDIR) << operation;
}

TEST(AccountStoreCounter, OneRuleSaysWhatIsAUserCountAndHowADamagedOneIsReported) {
    const std::pair<QString, std::optional<std::int64_t>> cases[] = {
        {"0", 0},
        {" 12 ", 12},
        {"9223372036854775806", INT64_MAX - 1},
        {"9223372036854775807", std::nullopt},  // no number left for the next user
        {"-1", std::nullopt},
        {"1 2", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, count] : cases)
        EXPECT_EQ(AccountStore::userCountOf(text), count) << text.toStdString();
    EXPECT_EQ(AccountStore::notAUserCount(QString(50, u'x') + "\r\n"),
              "QK/num.qk holds \"" + QString(40, u'x') + "...\", which is not a user count");
    EXPECT_EQ(AccountStore::notAUserCount("a\r\nb"),
              "QK/num.qk holds \"a  b\", which is not a user count");
}

TEST(AccountStoreRepairs, AMissingCounterIsRebuiltAboveEveryUserOnDisk) {
    ScratchStore scratch;
    scratch.put("num.qk", "0");
    scratch.put("QK/mnp%qk 0dN.qk", "Old");
    scratch.put("QK/MAP%QK 2DA.QK", "7");  // an interrupted registration's first file
    AccountStore store(scratch.path());
    EXPECT_TRUE(runFirstRunSetup(store));
    EXPECT_EQ(store.loadCounterText(), "3");
    EXPECT_EQ(store.registerUser(someone("new")), "4");
    EXPECT_EQ(store.readField(Field::Name, 0), "Old");
}

namespace {

QString swappedAway;

// Stands for another program swapping the store directory during a write.
void swapStoreDirectory(const QByteArray&, const QByteArray&) {
    QDir(swappedAway).rename("QK", "QK.old");
    QDir(swappedAway).mkdir("QK");
    mindlark::testhooks::setBeforePlacing(nullptr);
}

}  // namespace

TEST(AccountStoreLocking, ARegistrationWritesOnlyIntoTheDirectoryItLocked) {
    ScratchStore scratch;
    setUpStore(scratch, "0");
    swappedAway = scratch.path();
    mindlark::testhooks::setBeforePlacing(&swapStoreDirectory);
    AccountStore store(scratch.path());
    const QString error = storeErrorOf([&] { store.registerUser(someone("a")); });
    mindlark::testhooks::setBeforePlacing(nullptr);
    EXPECT_EQ(error, "<no error>");
    EXPECT_EQ(scratch.entries("QK"), QStringList{});
    EXPECT_EQ(scratch.entries("QK.old").size(), 6);
    EXPECT_EQ(scratch.bytes("QK.old/num.qk"), rtf::write("1"));
}

TEST(AccountStoreHostile, SymbolicLinksAreRefusedNotFollowed) {
    ScratchStore scratch;
    setUpStore(scratch, "1");
    AccountStore writer(scratch.path());
    scratch.put("outside", "secret elsewhere");
    ASSERT_EQ(::symlink(QFile::encodeName(scratch.at("outside")).constData(),
                        QFile::encodeName(scratch.at("QK/mup%qk 0du.qk")).constData()),
              0);
    scratch.put("QK/mpp%qk 0dp.qk", "pw");
    AccountStore store(scratch.path());
    const QString link = QStringLiteral("a symbolic link, which the game does not follow");
    EXPECT_EQ(storeErrorOf([&] { store.readField(Field::UserName, 0); }),
              "Cannot read QK/mup%qk 0dU.qk: " + link);

    ScratchStore linked;
    linked.put("num.qk", "1");
    linked.put("real/num.qk", "0");
    ASSERT_EQ(::symlink("real", QFile::encodeName(linked.at("QK")).constData()), 0);
    AccountStore linkedStore(linked.path());
    EXPECT_EQ(storeErrorOf([&] { linkedStore.loadCounterText(); }),
              "Cannot read QK/num.qk: " + link);
    EXPECT_EQ(storeErrorOf([&] { linkedStore.registerUser(someone("a")); }),
              "Cannot lock QK: " + link);
    EXPECT_EQ(linked.entries("real"), QStringList{"num.qk"});
}

TEST(AccountStoreOwnership, FilesWrittenByRootBelongToTheStoreOwner) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser can write into another user's store";
    ScratchStore scratch;
    setUpStore(scratch, "0");
    constexpr uid_t kPlayer = 4242;
    ASSERT_EQ(::chown(QFile::encodeName(scratch.at("QK")).constData(), kPlayer, kPlayer), 0);
    AccountStore store(scratch.path());
    store.registerUser(someone("a"));
    for (const QString& name : scratch.entries("QK")) {
        struct stat info;
        ASSERT_EQ(::stat(QFile::encodeName(scratch.at("QK/" + name)).constData(), &info), 0);
        EXPECT_EQ(info.st_uid, kPlayer) << name.toStdString();
    }
}

TEST(AccountStoreRepairs, ALooseStoreIsMadePrivateAtStart) {
    ScratchStore scratch;
    setUpStore(scratch, "1");
    scratch.put("QK/mnp%qk 0dN.qk", "Ann");
    const auto setMode = [&](const QString& relative, mode_t mode) {
        ::chmod(QFile::encodeName(scratch.at(relative)).constData(), mode);
    };
    setMode("QK", 0755);
    setMode("num.qk", 0644);
    setMode("QK/num.qk", 0644);
    setMode("QK/mnp%qk 0dN.qk", 0604);
    AccountStore store(scratch.path());
    EXPECT_FALSE(store.isFirstRun());
    EXPECT_EQ(modeOf(scratch.at("QK")), 0700);
    for (const char* file : {"num.qk", "QK/num.qk", "QK/mnp%qk 0dN.qk"})
        EXPECT_EQ(modeOf(scratch.at(file)), 0600) << file;
}

TEST(AccountStoreRegistration, AValueIsStoredOnlyWhenItCanBeReadBack) {
    const qsizetype room = rtf::kMaxDocumentSize - rtf::writtenSize(QString());
    const QString fits(room, u'x');
    const QString tooLong(room + 1, u'x');
    ASSERT_EQ(rtf::writtenSize(fits), rtf::kMaxDocumentSize);
    UserFields justUnder = someone("a");
    justUnder.password = fits;
    UserFields justOver = someone("b");
    justOver.email = tooLong;
    EXPECT_TRUE(mindlark::fitsInStore(justUnder));
    EXPECT_FALSE(mindlark::fitsInStore(justOver));

    ScratchStore scratch;
    setUpStore(scratch, "0");
    AccountStore store(scratch.path());
    EXPECT_EQ(
        storeErrorOf([&] { store.registerUser(justOver); }),
        QStringLiteral("Cannot register: a value of %1 characters is too long to be read back")
            .arg(tooLong.size()));
    EXPECT_EQ(scratch.entries("QK"), QStringList{"num.qk"});
    EXPECT_EQ(store.registerUser(justUnder), "1");
    EXPECT_EQ(AccountStore(scratch.path()).readField(Field::Password, 0), fits);
}

TEST(AccountStoreLocking, AWaitForAnotherCopyIsShownThenGivenUpWithNothingWritten) {
    ScratchStore scratch;
    setUpStore(scratch, "0");
    // Another copy of this machine, held up while writing: alive, so never broken.
    mindlark::testing::holdLock(scratch, mindlark::CopyIdentity::self());
    std::int64_t now = 0;
    QStringList notices;
    std::function<void()> atEachPause = [] {};
    AccountStore store(scratch.path());
    mindlark::LockWait wait;
    wait.clock = [&] { return now; };
    wait.pause = [&](int ms) {
        now += ms;
        atEachPause();
    };
    wait.giveUpAfterMs = 10000;
    wait.onWaiting = [&](const QString& notice) { notices += notice; };
    store.setLockWait(wait);
    EXPECT_EQ(storeErrorOf([&] { store.registerUser(someone("a")); }),
              "Cannot lock QK: another copy of the game is writing the store; nothing was written");
    EXPECT_EQ(notices, QStringList{mindlark::busyNotice()});
    EXPECT_GE(now, 10000);
    EXPECT_EQ(scratch.entries("QK"), (QStringList{".lockdir.qk", "num.qk"}));

    // The other copy finishes after the notice: the registration goes through.
    now = 0;
    atEachPause = [&] {
        if (now >= 3000)
            mindlark::testing::releaseLock(scratch);
    };
    EXPECT_EQ(store.registerUser(someone("a")), "1");
    EXPECT_EQ(notices.size(), 2);
    EXPECT_EQ(scratch.entries("QK").size(), 6) << "the lock and the queue go with the wait";
}
