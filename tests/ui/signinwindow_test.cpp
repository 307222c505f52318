#include "ui/accounts/signinwindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QTest>

#include "ui/accountsfixture.h"

namespace mindlark {
namespace {

using testing::control;

class SignInWindowTest : public testing::AccountWindowTest<SignInWindow> {
protected:
    void press(const char* button) {
        QTest::mouseClick(control<QPushButton>(*window, button), Qt::LeftButton);
    }
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

TEST_F(SignInWindowTest, ReportsEachPressWithTheTypedTextsAndShowsOnlyWhatItIsTold) {
    QSignalSpy signIn(window.get(), &SignInWindow::signInPressed);
    QSignalSpy cancel(window.get(), &SignInWindow::cancelPressed);
    QSignalSpy newUser(window.get(), &SignInWindow::newUserPressed);
    window->show();
    testing::typeInto(box("user"), QStringLiteral("Ann علي "));
    testing::typeInto(box("password"), "Se cret");

    press("Command1");
    ASSERT_EQ(signIn.count(), 1);
    EXPECT_EQ(signIn.at(0).at(0).toString(), QStringLiteral("Ann علي "));
    EXPECT_EQ(signIn.at(0).at(1).toString(), "Se cret");
    EXPECT_FALSE(warningShown()) << "the flow decides whether to warn";
    window->showWarning();
    EXPECT_TRUE(warningShown());

    // The Sign In / Change User command: no warning, no password, the user name kept.
    window->prepareForSignIn();
    EXPECT_FALSE(warningShown());
    EXPECT_EQ(box("user")->text(), QStringLiteral("Ann علي "));
    EXPECT_EQ(box("password")->text(), "");
    EXPECT_EQ(window->focusWidget(), box("user"));

    press("Command3");
    press("Command2");
    // The player's click on the close box arrives as a spontaneous close event.
    QCloseEvent closeBox;
    QSpontaneKeyEvent::setSpontaneous(&closeBox);
    static_cast<QObject*>(window.get())->event(&closeBox);
    EXPECT_FALSE(closeBox.isAccepted());
    EXPECT_EQ(newUser.count(), 1);
    EXPECT_EQ(cancel.count(), 2);
    EXPECT_EQ(signIn.count(), 1);
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace mindlark
