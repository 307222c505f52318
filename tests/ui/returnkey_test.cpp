#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ui/accounts/registrationwindow.h"
#include "ui/accounts/signinwindow.h"
#include "ui/mainwindowfixture.h"

using mindlark::testing::MainWindowTest;

// On every window Return and the keypad's Enter press the focused button as Space
// does, and the button does not become a default one.
TEST_F(MainWindowTest, ReturnPressesTheFocusedButtonOnEveryWindow) {
    mindlark::RegistrationWindow registration;
    mindlark::SignInWindow signIn;
    for (QWidget* shown : std::initializer_list<QWidget*>{window.get(), &registration, &signIn}) {
        shown->show();
        shown->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
        for (QPushButton* button : shown->findChildren<QPushButton*>()) {
            if (!button->isVisible())
                continue;  // the hidden language pane's
            QSignalSpy clicked(button, &QPushButton::clicked);
            button->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
                QTest::keyClick(shown->focusWidget(), key);
            EXPECT_EQ(clicked.count(), 3) << button->text().toStdString();
            EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
        }
    }
}
