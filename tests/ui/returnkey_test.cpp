#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "riddle/game.h"
#include "ui/accounts/registrationwindow.h"
#include "ui/accounts/signinwindow.h"
#include "ui/main/mainwindow.h"

// On every window Return and the keypad's Enter press the focused button as Space
// does; in a text box they press none, and no button becomes a default one.
TEST(ReturnKey, PressesTheFocusedButtonOnEveryWindow) {
    mindlark::Game game;
    mindlark::MainWindow main(game);
    main.setRefusalPresenter([](const QString&, const QString&) {});
    mindlark::RegistrationWindow registration;
    mindlark::SignInWindow signIn;
    int presses = 0;
    for (QWidget* window : std::initializer_list<QWidget*>{&main, &registration, &signIn}) {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        const QList<QPushButton*> buttons = window->findChildren<QPushButton*>();
        for (QPushButton* button : buttons) {
            QObject::connect(button, &QPushButton::clicked, [&presses] { ++presses; });
            if (!button->isVisible())
                continue;  // the hidden language pane's
            QSignalSpy clicked(button, &QPushButton::clicked);
            button->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
                QTest::keyClick(window->focusWidget(), key);
            EXPECT_EQ(clicked.count(), 3) << button->text().toStdString();
            EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
        }
        presses = 0;
        window->findChild<QLineEdit*>()->setFocus();
        QTest::keyClick(window->focusWidget(), Qt::Key_Return);
        EXPECT_EQ(presses, 0) << window->objectName().toStdString();
    }
}
