#include "ui/accounts/signinwindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QTest>

#include "accounts/storeerror.h"
#include "ui/accountsfixture.h"

namespace mindlark {
namespace {

using testing::control;

class SignInWindowTest : public testing::AccountsFixture {
protected:
    void SetUp() override {
        AccountsFixture::SetUp();
        window = std::make_unique<SignInWindow>(store, buffers, [this] {
            ++dir1Reads;
            return dir.path();
        });
    }

    QLineEdit* box(const char* name) { return control<QLineEdit>(*window, name); }

    bool warningShown() { return control<QLabel>(*window, "worning")->isVisibleTo(window.get()); }

    // Types a user name and password and presses "Sign in".
    void signIn(const QString& userName, const QString& password) {
        box("user")->setText(userName);
        box("password")->setText(password);
        QTest::mouseClick(control<QPushButton>(*window, "Command1"), Qt::LeftButton);
    }

    int dir1Reads = 0;
    std::unique_ptr<SignInWindow> window;
};

TEST_F(SignInWindowTest, HasTheResizableSignInWindowLayout) {
    EXPECT_EQ(window->objectName(), "Form3");
    EXPECT_EQ(window->windowTitle(), "Sign In");
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isHidden());
    // 4470 x 2790 twips, with a border that can be resized, minimised and maximised.
    EXPECT_EQ(window->size(), QSize(298, 186));
    EXPECT_NE(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(!(flags & Qt::CustomizeWindowHint) ||
                (flags & Qt::WindowMinMaxButtonsHint) == Qt::WindowMinMaxButtonsHint);

    struct Expected {
        const char* name;
        QString caption;
        QRect pixels;
    };
    const QList<Expected> labels = {
        {"Label1", "User Name", {8, 32, 65, 33}},
        {"Label2", "Password", {16, 72, 65, 33}},
        {"worning", "Incorrect Password or User Name", {80, 104, 193, 17}},
    };
    for (const Expected& e : labels) {
        QLabel* label = control<QLabel>(*window, e.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), e.caption) << e.name;
        EXPECT_EQ(label->geometry(), e.pixels) << e.name;
    }
    const QList<Expected> buttons = {
        {"Command1", "Sign in", {200, 128, 81, 25}},
        {"Command2", "Cancel", {24, 128, 81, 25}},
        {"Command3", "New User", {112, 128, 81, 25}},
    };
    for (const Expected& e : buttons) {
        QPushButton* button = control<QPushButton>(*window, e.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), e.caption) << e.name;
        EXPECT_EQ(button->geometry(), e.pixels) << e.name;
    }
    EXPECT_EQ(box("user")->geometry(), QRect(72, 32, 193, 19));
    EXPECT_EQ(box("password")->geometry(), QRect(72, 72, 193, 19));
    EXPECT_TRUE(box("user")->text().isEmpty());
    EXPECT_TRUE(box("password")->text().isEmpty());
    EXPECT_GT(box("user")->maxLength(), 32767);

    QLabel* warning = control<QLabel>(*window, "worning");
    EXPECT_TRUE(warning->isHidden());
    EXPECT_EQ(warning->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST_F(SignInWindowTest, EveryCaptionFitsItsPlace) {
    const QList<QLabel*> labels = window->findChildren<QLabel*>();
    ASSERT_FALSE(labels.isEmpty());
    for (const QLabel* label : labels) {
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
            << label->objectName().toStdString();
    }
}

TEST_F(SignInWindowTest, OpensWithTheFocusInUserAndMasksThePassword) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), box("user"));

    const QList<QWidget*> expected = {
        box("user"), box("password"), control<QPushButton>(*window, "Command1"),
        control<QPushButton>(*window, "Command2"), control<QPushButton>(*window, "Command3")};
    EXPECT_EQ(testing::tabChain(box("user")), expected);

    QTest::keyClicks(box("password"), "pass word");
    EXPECT_EQ(box("password")->displayText(), "*********");
    EXPECT_EQ(box("password")->text(), "pass word");
}

TEST_F(SignInWindowTest, FirstLoadSetsTheStoreUpAndAsksForARegistration) {
    buffers.number = "stale";
    EXPECT_TRUE(window->Form_Load());
    EXPECT_EQ(dir1Reads, 1);
    EXPECT_TRUE(QDir(dir.filePath("QK")).exists());
    EXPECT_EQ(store.loadCounterText(), "0");
    EXPECT_EQ(store.load("num.qk"), "1");
    EXPECT_EQ(buffers.number, "0");
}

TEST_F(SignInWindowTest, LaterLoadsOpenTheSignInWindowOnlyOnceSomebodyIsRegistered) {
    setUpStore();
    EXPECT_TRUE(window->Form_Load()) << "set up, but still nobody registered";

    store.registerUser(UserFields{"Ann", "30", "", "ann", "pw"});
    store.registerUser(UserFields{"Bo", "40", "", "bo", "pw"});
    EXPECT_FALSE(window->Form_Load());
    EXPECT_EQ(buffers.number, "2");
    EXPECT_EQ(store.load("num.qk"), "1");
}

TEST_F(SignInWindowTest, LoadRefusesACounterThatIsNotAUserCount) {
    setUpStore();
    for (const char* damaged : {"two", "", "1 2", "-1"}) {
        store.save("QK/num.qk", damaged);
        try {
            window->Form_Load();
            ADD_FAILURE() << "counter \"" << damaged << "\" was accepted";
        } catch (const StoreError& error) {
            EXPECT_TRUE(error.message().contains("QK/num.qk")) << error.message().toStdString();
        }
    }
    // Surrounding spaces are allowed by the strict reading.
    store.save("QK/num.qk", " 0 ");
    EXPECT_TRUE(window->Form_Load());
}

// A store with three users: Ann, a second "ann" who differs in case, and a later
// account with Ann's exact user name and password.
class SignInAttemptTest : public SignInWindowTest {
protected:
    void SetUp() override {
        SignInWindowTest::SetUp();
        setUpStore();
        store.registerUser(UserFields{"Ann", "30", "a@b", "Ann", "Secret"});
        store.registerUser(UserFields{"Lower", "31", "", "ann", "Secret"});
        window->show();
    }
};

TEST_F(SignInAttemptTest, WrongPasswordOrUserNameCaseShowsTheWarningOnly) {
    QSignalSpy signedIn(window.get(), &SignInWindow::signedIn);
    buffers.saveName = "before";
    buffers.saveAge = "before";

    for (const auto& [userName, password] : {std::pair{"Ann", "secret"}, std::pair{"ANN", "Secret"},
                                             std::pair{"Ann ", "Secret"}, std::pair{"", ""}}) {
        window->prepareForSignIn();
        signIn(userName, password);
        EXPECT_TRUE(warningShown()) << userName << "/" << password;
        EXPECT_EQ(box("user")->text(), userName);
        EXPECT_EQ(box("password")->text(), password);
    }
    EXPECT_EQ(signedIn.count(), 0);
    EXPECT_EQ(buffers.saveName, "before");
    EXPECT_EQ(buffers.saveAge, "before");
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SignInAttemptTest, AMatchGreetsAndLoadsNameAndAge) {
    QSignalSpy signedIn(window.get(), &SignInWindow::signedIn);
    store.registerUser(UserFields{"Carl", "50", "", "carl", ""});
    buffers.number = "0";

    signIn("carl", "");

    ASSERT_EQ(signedIn.count(), 1);
    EXPECT_EQ(signedIn.at(0).at(0).toString(), "Carl");
    EXPECT_EQ(buffers.saveName, "Carl");
    EXPECT_EQ(buffers.saveAge, "50");
    EXPECT_EQ(buffers.number, "3") << "every attempt reloads the counter";
    // Made visible after a match as well; the window is hidden by then in the program.
    EXPECT_TRUE(warningShown());
    EXPECT_EQ(box("user")->text(), "carl");
}

TEST_F(SignInAttemptTest, TheLaterOfTwoEqualAccountsWins) {
    store.registerUser(UserFields{"Ann Two", "99", "", "Ann", "Secret"});
    QSignalSpy signedIn(window.get(), &SignInWindow::signedIn);

    signIn("Ann", "Secret");

    ASSERT_EQ(signedIn.count(), 1);
    EXPECT_EQ(signedIn.at(0).at(0).toString(), "Ann Two");
    EXPECT_EQ(buffers.saveAge, "99");
}

TEST_F(SignInAttemptTest, TheNameIsInPlaceAndTheCursorBusyWhenTheGreetingIsSent) {
    QString nameAtGreeting;
    Qt::CursorShape cursorAtGreeting = Qt::ArrowCursor;
    QObject::connect(window.get(), &SignInWindow::signedIn, [&] {
        nameAtGreeting = buffers.saveName;
        if (const QCursor* cursor = QApplication::overrideCursor())
            cursorAtGreeting = cursor->shape();
    });

    signIn("Ann", "Secret");

    EXPECT_EQ(nameAtGreeting, "Ann");
    EXPECT_EQ(cursorAtGreeting, Qt::BusyCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SignInAttemptTest, ADamagedCounterLetsNobodyIn) {
    store.save("QK/num.qk", "junk");
    QSignalSpy signedIn(window.get(), &SignInWindow::signedIn);
    signIn("Ann", "Secret");
    EXPECT_EQ(signedIn.count(), 0);
    EXPECT_TRUE(warningShown());
    EXPECT_EQ(buffers.number, "junk");
}

TEST_F(SignInAttemptTest, AMissingFileStopsTheAttemptAndGivesTheCursorBack) {
    ASSERT_TRUE(QFile::remove(dir.filePath("QK/mpp%qk 1dp.qk")));
    QSignalSpy signedIn(window.get(), &SignInWindow::signedIn);
    box("user")->setText("Ann");
    box("password")->setText("Secret");

    EXPECT_THROW(window->Command1_Click(), StoreError);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(signedIn.count(), 0);

    QSignalSpy failed(window.get(), &SignInWindow::storeFailed);
    QTest::mouseClick(control<QPushButton>(*window, "Command1"), Qt::LeftButton);
    ASSERT_EQ(failed.count(), 1);
    EXPECT_TRUE(failed.at(0).at(0).toString().contains("1d")) << "names the missing file";
}

TEST_F(SignInAttemptTest, SignInCommandHidesTheWarningAndEmptiesOnlyThePassword) {
    signIn("Ann", "wrong");
    ASSERT_TRUE(warningShown());
    window->prepareForSignIn();
    EXPECT_FALSE(warningShown());
    EXPECT_EQ(box("user")->text(), "Ann");
    EXPECT_EQ(box("password")->text(), "");
    EXPECT_EQ(window->focusWidget(), box("user"));
}

TEST_F(SignInWindowTest, CancelNewUserAndCloseBoxOnlyAskTheFlow) {
    QSignalSpy cancel(window.get(), &SignInWindow::cancelRequested);
    QSignalSpy newUser(window.get(), &SignInWindow::newUserRequested);
    buffers.number = "not reloaded";
    window->show();

    QTest::mouseClick(control<QPushButton>(*window, "Command3"), Qt::LeftButton);
    EXPECT_EQ(newUser.count(), 1);
    EXPECT_EQ(buffers.number, "not reloaded");

    QTest::mouseClick(control<QPushButton>(*window, "Command2"), Qt::LeftButton);
    EXPECT_EQ(cancel.count(), 1);

    QCloseEvent closeBox;
    QSpontaneKeyEvent::setSpontaneous(&closeBox);
    static_cast<QObject*>(window.get())->event(&closeBox);
    EXPECT_FALSE(closeBox.isAccepted());
    EXPECT_EQ(cancel.count(), 2);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(newUser.count(), 1);
}

}  // namespace
}  // namespace mindlark
