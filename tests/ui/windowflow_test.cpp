#include "app/windowflow.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <memory>
#include <optional>

#include <QApplication>

#include <QFile>
#include <functional>

#include "accounts/accountstore.h"
#include "storetestsupport.h"
#include "ui/accounts/registrationwindow.h"
#include "ui/accounts/signinwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/mainwindowfixture.h"

namespace mindlark {
namespace {

// A whole run of the program's windows in a working directory of its own; the
// end of the program and the failure box are recorded instead of acted on.
class WindowFlowTest : public ::testing::Test {
public:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previousDirectory = QDir::currentPath();
        // The main window's directory is the process's current one, as at start.
        QDir::setCurrent(dir.path());
        testing::putStoreFile(dir.filePath("num.qk"), QStringLiteral("0"));
    }

    void TearDown() override {
        flow.reset();
        QDir::setCurrent(previousDirectory);
    }

    // Starts a run, as the program does.
    WindowFlow& start() {
        ended.reset();
        failure.clear();
        notices.clear();
        flow = std::make_unique<WindowFlow>(
            dir.path(), [this](int status) { ended = status; },
            [this](const QString& message) { failure = message; },
            [this](const QString& message) { notices += message; }, lockWait);
        flow->start();
        return *flow;
    }

    // Registers through the registration window's fields and "Add User".
    void registerUser(const QString& name, const QString& age, const QString& userName,
                      const QString& password) {
        auto& form2 = flow->registrationWindow();
        field(form2, "Nameu")->setText(name);
        field(form2, "age")->setText(age);
        field(form2, "userName")->setText(userName);
        field(form2, "Pass")->setText(password);
        field(form2, "Vpass")->setText(password);
        button(form2, "Command1")->click();
    }

    void signIn(const QString& userName, const QString& password) {
        auto& form3 = flow->signInWindow();
        field(form3, "user")->setText(userName);
        field(form3, "password")->setText(password);
        button(form3, "Command1")->click();
    }

    static QLineEdit* field(QWidget& window, const char* name) {
        return window.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static QPushButton* button(QWidget& window, const char* name) {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    static QComboBox* list(MainWindow& window, const char* name) {
        return window.findChild<QComboBox*>(QString::fromLatin1(name));
    }
    // Whether a window with the design name `name` exists, shown or not.
    static bool exists(const char* name) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::any_of(windows.begin(), windows.end(), [name](const QWidget* window) {
            return window->objectName() == QLatin1StringView(name);
        });
    }

    QTemporaryDir dir;
    QString previousDirectory;
    std::unique_ptr<WindowFlow> flow;
    std::optional<int> ended;
    QString failure;
    QStringList notices;
    LockWait lockWait;
};

TEST_F(WindowFlowTest, FirstStartOpensOnlyTheRegistrationWindowAndCloseEndsTheProgram) {
    auto& run = start();
    EXPECT_TRUE(run.registrationWindow().isVisible());
    EXPECT_FALSE(run.signInWindow().isVisible());
    EXPECT_FALSE(run.mainWindow().isVisible());
    EXPECT_TRUE(QDir(dir.filePath("QK")).exists());
    button(run.registrationWindow(), "Command2")->click();
    EXPECT_EQ(ended, 0);
}

TEST_F(WindowFlowTest, RegistrationGreetsInTheMainWindowAndLaterStartsAskToSignIn) {
    auto& run = start();
    registerUser("Ann", "31", "ann", "pw");
    ASSERT_FALSE(ended.has_value()) << failure.toStdString();
    EXPECT_TRUE(run.mainWindow().isVisible());
    EXPECT_FALSE(run.registrationWindow().isVisible());
    EXPECT_EQ(run.mainWindow().welcomeCaption(), "Welcome Ann");
    EXPECT_EQ(run.mainWindow().signInCaption(), "Change User");

    // A new run: somebody is registered, so the sign-in window comes first, and
    // Cancel there ends the program while the main window has not been shown.
    auto& second = start();
    EXPECT_TRUE(second.signInWindow().isVisible());
    EXPECT_FALSE(second.registrationWindow().isVisible());
    button(second.signInWindow(), "Command2")->click();
    EXPECT_EQ(ended, 0);
}

TEST_F(WindowFlowTest, DamagedAccountsAreNamedOncePerStartAndTheOthersStillSignIn) {
    start();
    registerUser("Ann", "31", "ann", "pw");
    registerUser("Bob", "40", "bob", "pw");
    QFile::resize(dir.filePath("QK/mup%qk 0du.qk"), 3);  // torn: no longer RTF
    auto& run = start();
    signIn("bob", "pw");
    ASSERT_FALSE(ended.has_value()) << failure.toStdString();
    EXPECT_EQ(run.mainWindow().welcomeCaption(), "Welcome Bob");
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains("Cannot read QK/mup%qk 0dU.qk: not a valid store file"))
        << notices[0].toStdString();
    signIn("ann", "pw");
    EXPECT_EQ(notices.size(), 1);
    EXPECT_FALSE(ended.has_value());
}

TEST_F(WindowFlowTest, WhileAnotherCopyWritesTheStoreTheWaitIsShownAndGivingUpKeepsThePlayer) {
    start();
    registerUser("Ann", "31", "ann", "pw");
    // Another copy of this machine, held up while writing: alive, so waited for.
    const QString lock = dir.filePath("QK/.lockdir.qk");
    testing::putStoreFile(lock + u'/' + testing::tokenName(CopyIdentity::self()),
                          testing::lockRecord(CopyIdentity::self()));
    std::int64_t now = 0;
    std::int64_t releaseAt = -1;
    const auto busyBox = [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "storeBusy" && window->isVisible())
                return true;
        }
        return false;
    };
    bool busyShown = false;
    lockWait.clock = [&] { return now; };
    lockWait.pause = [&](int ms) {
        now += ms;
        busyShown = busyShown || (busyBox() && QApplication::overrideCursor());
        if (releaseAt >= 0 && now >= releaseAt)
            QDir(lock).removeRecursively();
    };
    lockWait.giveUpAfterMs = 10000;
    start();
    button(flow->signInWindow(), "Command3")->click();
    registerUser("Bob", "40", "bob", "pw");
    EXPECT_TRUE(busyShown);
    EXPECT_FALSE(busyBox()) << "the box goes with the wait";
    EXPECT_FALSE(ended.has_value()) << "the player may try again or sign in";
    EXPECT_TRUE(failure.startsWith(
        "Cannot lock QK: another copy of the game is writing the store; nothing was written"))
        << failure.toStdString();
    EXPECT_TRUE(flow->registrationWindow().isVisible());
    EXPECT_EQ(field(flow->registrationWindow(), "Nameu")->text(), "Bob");
    EXPECT_EQ(AccountStore(dir.path()).loadCounterText(), "1");

    // Tried again, the other copy finishes after the notice: the wait ends well.
    busyShown = false;
    now = 0;
    releaseAt = 3000;
    registerUser("Bob", "40", "bob", "pw");
    EXPECT_TRUE(busyShown);
    EXPECT_FALSE(busyBox()) << "the box goes with the wait";
    EXPECT_EQ(flow->mainWindow().welcomeCaption(), "Welcome Bob");
    EXPECT_EQ(AccountStore(dir.path()).loadCounterText(), "2");
}

TEST_F(WindowFlowTest, AnAccountTheStoreCannotTakeIsReportedAndThePlayerCanStillSignIn) {
    start();
    registerUser("Ann", "31", "ann", "pw");
    QDir(dir.path()).mkpath("QK/mnp%qk 1dN.qk");  // where user 1's name file goes
    emit flow->mainWindow().newUserRequested();
    registerUser("Bo", "", "bo", "");
    EXPECT_FALSE(ended.has_value());
    EXPECT_TRUE(failure.startsWith("Cannot write QK/mnp%qk 1dN.qk: ")) << failure.toStdString();
    EXPECT_TRUE(flow->registrationWindow().isVisible());
    EXPECT_EQ(flow->mainWindow().welcomeCaption(), "Welcome Ann");
    EXPECT_EQ(AccountStore(dir.path()).loadCounterText(), "1");
    testing::choose(flow->mainWindow(), "SignIn");
    signIn("ann", "pw");
    EXPECT_FALSE(ended.has_value());
    EXPECT_FALSE(flow->signInWindow().isVisible());
}

TEST_F(WindowFlowTest, StoreSetUpWithoutUsersOpensTheRegistrationWindowAgain) {
    start();
    button(flow->registrationWindow(), "Command2")->click();
    ASSERT_EQ(ended, 0);
    auto& again = start();
    EXPECT_TRUE(again.registrationWindow().isVisible());
    EXPECT_FALSE(again.signInWindow().isVisible());
}

TEST_F(WindowFlowTest, SignInClearsBothGridsKeepsCodesAndLoadsTheStoredAge) {
    start();
    registerUser("Ann", "31", "ann", "pw");
    auto& main = flow->mainWindow();
    list(main, "Color1")->setCurrentIndex(2);
    list(main, "PetA3")->setCurrentIndex(4);
    button(main, "Command1")->click();
    const QString codeBefore = main.findChild<QTextEdit*>("Code")->toPlainText();
    // A registration leaves the age mirror empty; no tick has run yet.
    EXPECT_EQ(codeBefore, " 2-1-1--1-1-1--1-1-1-1--1-1-1-1--1-1-1--1-1-1--1---1-1-1--1- 0");

    emit main.signInRequested();
    EXPECT_TRUE(flow->signInWindow().isVisible());
    signIn("ann", "pw");
    EXPECT_FALSE(flow->signInWindow().isVisible());
    EXPECT_EQ(list(main, "Color1")->currentIndex(), -1);
    EXPECT_EQ(list(main, "PetA3")->currentIndex(), -1);
    EXPECT_EQ(main.findChild<QTextEdit*>("Code")->toPlainText(), codeBefore);
    EXPECT_EQ(flow->game().age(), "31");

    list(main, "Smoke1")->setCurrentIndex(0);
    testing::tick(flow->game());  // sees the greeting: restarts at 0
    testing::tick(flow->game());
    button(main, "Command1")->click();
    EXPECT_EQ(main.findChild<QTextEdit*>("Code")->toPlainText(),
              "-1-1-1--1-1-1--1-1-1-1--1-1-1-1--1-1-1--1-1-1- 0-31--1-1-1--1- 1");
}

TEST_F(WindowFlowTest, AfterASignInCancelAndCloseOnlyHideTheirWindows) {
    start();
    registerUser("Ann", "31", "ann", "pw");
    auto& main = flow->mainWindow();
    emit main.signInRequested();
    button(flow->signInWindow(), "Command2")->click();
    EXPECT_FALSE(ended.has_value());
    EXPECT_FALSE(flow->signInWindow().isVisible());
    EXPECT_TRUE(main.isVisible());

    emit main.newUserRequested();
    EXPECT_TRUE(flow->registrationWindow().isVisible());
    button(flow->registrationWindow(), "Command2")->click();
    EXPECT_FALSE(ended.has_value());
    EXPECT_FALSE(flow->registrationWindow().isVisible());
}

TEST_F(WindowFlowTest, NewUserFromSignInThenCloseBeforeAnySignInEndsTheProgram) {
    start();
    registerUser("Ann", "31", "ann", "pw");
    auto& second = start();
    button(second.signInWindow(), "Command3")->click();
    EXPECT_TRUE(second.registrationWindow().isVisible());
    EXPECT_FALSE(second.signInWindow().isVisible());
    button(second.registrationWindow(), "Command2")->click();
    EXPECT_EQ(ended, 0);
}

TEST_F(WindowFlowTest, ExitEndsTheProgramWhileOtherWindowsAreOpen) {
    start();
    registerUser("Ann", "31", "ann", "pw");
    emit flow->mainWindow().signInRequested();
    emit flow->mainWindow().newUserRequested();
    emit flow->mainWindow().exitRequested();
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(flow->mainWindow().isVisible());
    EXPECT_FALSE(flow->signInWindow().isVisible());
    EXPECT_FALSE(flow->registrationWindow().isVisible());
}

TEST_F(WindowFlowTest, NewUserInTheMainWindowUsesTheCounterOnDisk) {
    start();
    registerUser("Ann", "31", "ann", "pw");
    // Another copy of the game registers meanwhile.
    AccountStore(dir.path()).registerUser({"Bob", "40", "", "bob", "x"});
    emit flow->mainWindow().newUserRequested();
    registerUser("Cy", "9", "cy", "z");
    AccountStore store(dir.path());
    EXPECT_EQ(store.loadCounterText(), "3");
    EXPECT_EQ(store.readField(Field::Name, 1), "Bob");
    EXPECT_EQ(store.readField(Field::Name, 2), "Cy");
}

TEST_F(WindowFlowTest, TheCounterRunsFromAFirstRunsSetUpOrALaterRunsFirstGreeting) {
    start();
    EXPECT_FALSE(exists("Form1")) << "nobody has been greeted yet";
    testing::tick(flow->game());  // the registration takes two seconds
    testing::tick(flow->game());
    registerUser("Ann", "31", "ann", "pw");
    list(flow->mainWindow(), "Color1")->setCurrentIndex(1);
    button(flow->mainWindow(), "Command1")->click();
    EXPECT_EQ(flow->mainWindow().findChild<QTextEdit*>("Code")->toPlainText(),
              " 1-1-1--1-1-1--1-1-1-1--1-1-1-1--1-1-1--1-1-1--1---1-1-1--1- 2");

    start();
    EXPECT_TRUE(exists("Form3"));
    EXPECT_FALSE(exists("Form2")) << "it is built when first shown";
    EXPECT_FALSE(exists("Form1")) << "nobody has been greeted in this run";
    EXPECT_FALSE(flow->game().findChild<QTimer*>()->isActive()) << "the game has not begun";
    signIn("ann", "pw");
    testing::tick(flow->game());
    EXPECT_EQ(flow->game().elapsed(), 0);
    list(flow->mainWindow(), "Color1")->setCurrentIndex(1);
    button(flow->mainWindow(), "Command1")->click();
    EXPECT_EQ(flow->mainWindow().findChild<QTextEdit*>("Code")->toPlainText(),
              " 1-1-1--1-1-1--1-1-1-1--1-1-1-1--1-1-1--1-1-1--1-31--1-1-1--1- 0");
}

TEST_F(WindowFlowTest, TheAgeFollowsTheRegistrationFormWhileItIsTyped) {
    start();
    registerUser("Ann", "31", "ann", "pw");
    EXPECT_EQ(flow->game().age(), "") << "a registration leaves no age";
    emit flow->mainWindow().signInRequested();
    signIn("ann", "pw");
    ASSERT_EQ(flow->game().age(), "31");
    emit flow->mainWindow().newUserRequested();
    registerUser("Bo", "", "bo", "pw");  // the age box was empty already
    EXPECT_EQ(flow->game().age(), "") << "a registration leaves no age";
    emit flow->mainWindow().newUserRequested();
    field(flow->registrationWindow(), "age")->setText("52");
    auto& main = flow->mainWindow();
    list(main, "Color1")->setCurrentIndex(0);
    button(main, "Command1")->click();
    EXPECT_TRUE(main.findChild<QTextEdit*>("Code")->toPlainText().contains("-52-"));
    emit main.signInRequested();
    signIn("ann", "wrong");
    EXPECT_EQ(flow->game().age(), "52") << "a failed sign-in changes nothing";
}

// One way the store fails for real, and where in the game it shows.
struct StoreFailure {
    const char* what;
    std::function<void(WindowFlowTest&)> damage;  // after a first run that registered Ann
    std::function<void(WindowFlowTest&)> act;
    const char* file;  // the message names it
};

void PrintTo(const StoreFailure& failure, std::ostream* out) {
    *out << failure.what;
}

// A counter no reader can take, and no rebuild could replace: a directory.
void unreadableCounter(WindowFlowTest& t) {
    QFile::remove(t.dir.filePath("QK/num.qk"));
    QDir(t.dir.path()).mkpath("QK/num.qk");
}

class WindowFlowStoreFailure : public WindowFlowTest,
                               public ::testing::WithParamInterface<StoreFailure> {};

TEST_P(WindowFlowStoreFailure, IsShownNamingTheFileAndEndsTheProgramWithStatusOne) {
    const StoreFailure& failure = GetParam();
    start();
    registerUser("Ann", "31", "ann", "pw");
    ASSERT_FALSE(ended.has_value()) << this->failure.toStdString();
    failure.damage(*this);
    failure.act(*this);
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(this->failure.contains(failure.file)) << this->failure.toStdString();
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    EveryHandler, WindowFlowStoreFailure,
    ::testing::Values(
        StoreFailure{"StartWithoutMarker",
                     [](WindowFlowTest& t) { QFile::remove(t.dir.filePath("num.qk")); },
                     [](WindowFlowTest& t) { t.start(); }, "num.qk"},
        StoreFailure{"StartWithAnUnreadableCounter", unreadableCounter,
                     [](WindowFlowTest& t) { t.start(); }, "QK/num.qk"},
        StoreFailure{"NewUserWithAnUnreadableCounter", unreadableCounter,
                     [](WindowFlowTest& t) { testing::choose(t.flow->mainWindow(), "NewUser"); },
                     "QK/num.qk"},
        // A damaged account is only skipped; a counter that cannot be read still ends.
        StoreFailure{"SignInWithAnUnreadableCounter", unreadableCounter,
                     [](WindowFlowTest& t) {
                         testing::choose(t.flow->mainWindow(), "SignIn");
                         t.signIn("ann", "pw");
                     },
                     "QK/num.qk"}),
    [](const ::testing::TestParamInfo<StoreFailure>& info) { return info.param.what; });

}  // namespace
}  // namespace mindlark

namespace mindlark {
namespace {

TEST_F(WindowFlowTest, AllThreeWindowsCarryTheGameIcon) {
    auto& run = start();
    for (QWidget* window : std::initializer_list<QWidget*>{
             &run.mainWindow(), &run.registrationWindow(), &run.signInWindow()}) {
        EXPECT_TRUE(window->windowIcon().availableSizes().contains(QSize(32, 32)))
            << window->objectName().toStdString();
    }
}

}  // namespace
}  // namespace mindlark
