#include "app/windowflow.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <memory>
#include <optional>

#include "accounts/accountstore.h"
#include "ui/accounts/registrationwindow.h"
#include "ui/accounts/signinwindow.h"
#include "ui/main/mainwindow.h"

namespace mindlark {
namespace {

// A whole run of the program's windows in a working directory of its own; the
// end of the program and the failure box are recorded instead of acted on.
class WindowFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previousDirectory = QDir::currentPath();
        // The main window's directory is the process's current one, as at start.
        QDir::setCurrent(dir.path());
        AccountStore(dir.path()).save(QStringLiteral("num.qk"), QStringLiteral("0"));
    }

    void TearDown() override {
        flow.reset();
        QDir::setCurrent(previousDirectory);
    }

    // Starts a run, as the program does.
    WindowFlow& start() {
        ended.reset();
        failure.clear();
        flow = std::make_unique<WindowFlow>(
            dir.path(), [this](int status) { ended = status; },
            [this](const QString& message) { failure = message; });
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

    QTemporaryDir dir;
    QString previousDirectory;
    std::unique_ptr<WindowFlow> flow;
    std::optional<int> ended;
    QString failure;
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
    EXPECT_EQ(flow->buffers().saveAge, "31");

    list(main, "Smoke1")->setCurrentIndex(0);
    main.Timer1_Timer();  // sees the greeting: restarts at 0
    main.Timer1_Timer();
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
    EXPECT_EQ(flow->buffers().number, "2");
    registerUser("Cy", "9", "cy", "z");
    AccountStore store(dir.path());
    EXPECT_EQ(store.loadCounterText(), "3");
    EXPECT_EQ(store.readField(Field::Name, 1), "Bob");
    EXPECT_EQ(store.readField(Field::Name, 2), "Cy");
}

TEST_F(WindowFlowTest, StoreFailuresAreShownAndEndTheProgramWithAFailureStatus) {
    start();
    registerUser("Ann", "31", "ann", "pw");
    ASSERT_TRUE(QFile::remove(dir.filePath("QK/mpp%qk 0dp.qk")));
    emit flow->mainWindow().signInRequested();
    signIn("ann", "pw");
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(failure.contains("QK/mpp%qk 0dP.qk")) << failure.toStdString();
}

TEST_F(WindowFlowTest, AMissingMarkerAtStartIsReportedAndEndsTheProgram) {
    ASSERT_TRUE(QFile::remove(dir.filePath("num.qk")));
    start();
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(failure.contains("num.qk")) << failure.toStdString();
    EXPECT_FALSE(flow->signInWindow().isVisible());
    EXPECT_FALSE(flow->registrationWindow().isVisible());
}

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
