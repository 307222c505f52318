#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

#include "mainwindowfixture.h"

using mindlark::Attribute;
using mindlark::Language;
using mindlark::testing::action;
using mindlark::testing::MainWindowTest;
using mindlark::testing::twipsPlace;

TEST_F(MainWindowTest, FixedWindowAtItsPlace) {
    EXPECT_EQ(window->objectName(), "Form1");
    EXPECT_EQ(window->windowTitle(), "Mindlark?");
    EXPECT_FALSE(window->isVisible()) << "the flow decides when the window is shown";
    EXPECT_TRUE(window->windowIcon().availableSizes().contains(QSize(32, 32)));

    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    window->show();
    QWidget* client = window->centralWidget();
    EXPECT_EQ(client->size(), QSize(765, 610));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the user cannot resize it";
    EXPECT_EQ(window->size(), window->minimumSize());
    EXPECT_EQ(client->mapToGlobal(QPoint(0, 0)), QPoint(127, 95));
    EXPECT_GE(client->y(), window->menuBar()->height()) << "the client area lies below the menu";

    EXPECT_TRUE(client->autoFillBackground());
    EXPECT_EQ(client->palette().color(QPalette::Window), QColor(255, 255, 255));
}

TEST_F(MainWindowTest, WelcomeLabelAtItsPlaceShowsTheGreeting) {
    auto* nameuser = window->findChild<QLabel*>("nameuser");
    ASSERT_NE(nameuser, nullptr);
    EXPECT_EQ(nameuser->geometry(), twipsPlace(360, 0, 3375, 255));
    EXPECT_TRUE(nameuser->text().isEmpty());
    EXPECT_FALSE(nameuser->autoFillBackground());
    EXPECT_TRUE(nameuser->alignment() & Qt::AlignLeft);

    game.greet("Ann", "30");
    EXPECT_EQ(nameuser->text(), "Welcome Ann");
    EXPECT_EQ(window->welcomeCaption(), "Welcome Ann");
}

TEST_F(MainWindowTest, MenuTreeInOrder) {
    QMenuBar* bar = window->menuBar();
    ASSERT_EQ(bar->actions().size(), 1);
    auto* file = window->findChild<QMenu*>("File");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title(), "File");
    EXPECT_EQ(bar->actions().first(), file->menuAction());

    const QList<QAction*> items = file->actions();
    ASSERT_EQ(items.size(), 6);
    const char* names[] = {"NewUser", "SignIn", "line", "lang", "l", "exit"};
    const char* captions[] = {"New User", "Sign In", "-", "Language", "-", "Exit"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(items[i]->objectName(), names[i]);
        EXPECT_EQ(items[i]->isSeparator() && items[i]->text().isEmpty() ? "-" : items[i]->text(),
                  captions[i]);
        EXPECT_TRUE(items[i]->isVisible());
        EXPECT_TRUE(items[i]->shortcut().isEmpty());
        EXPECT_FALSE(items[i]->isCheckable());
    }
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_TRUE(items[4]->isSeparator());

    auto* languageMenu = window->findChild<QMenu*>("lang");
    ASSERT_NE(languageMenu, nullptr);
    EXPECT_EQ(items[3]->menu(), languageMenu);
    const QList<QAction*> languages = languageMenu->actions();
    ASSERT_EQ(languages.size(), 2);
    EXPECT_EQ(languages[0]->objectName(), "englishs");
    EXPECT_EQ(languages[0]->text(), "&English");
    EXPECT_FALSE(languages[0]->isVisible());
    EXPECT_EQ(languages[1]->objectName(), "arabic");
    EXPECT_EQ(languages[1]->text(), "&Arabic");
    EXPECT_TRUE(languages[1]->isVisible());
    for (QAction* a : languages) {
        EXPECT_TRUE(a->shortcut().isEmpty());
        EXPECT_FALSE(a->isCheckable());
    }

    window->setSignInCaption("Change User");
    EXPECT_EQ(items[1]->text(), "Change User");
    EXPECT_EQ(window->signInCaption(), "Change User");
}

TEST_F(MainWindowTest, LanguageCommandsSwapPanesAndMenuItems) {
    window->show();
    QAction* englishs = action(window.get(), "englishs");
    QAction* arabicItem = action(window.get(), "arabic");
    game.greet("Ann", "30");
    mindlark::testing::tick(game);
    mindlark::testing::tick(game);

    const auto expectEnglishShown = [&](bool englishShown) {
        EXPECT_EQ(english().isVisible(), englishShown);
        EXPECT_EQ(arabic().isVisible(), !englishShown);
        EXPECT_EQ(arabicItem->isVisible(), englishShown);
        EXPECT_EQ(englishs->isVisible(), !englishShown);
    };
    expectEnglishShown(true);

    arabicItem->trigger();
    expectEnglishShown(false);
    mindlark::testing::choose(*window,
                              "arabic");  // again for the pane already shown: nothing changes
    expectEnglishShown(false);

    englishs->trigger();
    expectEnglishShown(true);
    mindlark::testing::choose(*window, "englishs");
    expectEnglishShown(true);

    EXPECT_EQ(window->windowTitle(), "Mindlark?");
    EXPECT_EQ(window->welcomeCaption(), "Welcome Ann");
    EXPECT_EQ(game.elapsed(), 1) << "switching panes does not touch the counter";
}

TEST_F(MainWindowTest, MenuCommandsAndClosingAskTheFlow) {
    QSignalSpy exits(window.get(), &mindlark::MainWindow::exitRequested);
    QSignalSpy newUsers(window.get(), &mindlark::MainWindow::newUserRequested);
    QSignalSpy signIns(window.get(), &mindlark::MainWindow::signInRequested);

    action(window.get(), "NewUser")->trigger();
    action(window.get(), "SignIn")->trigger();
    EXPECT_EQ(newUsers.count(), 1);
    EXPECT_EQ(signIns.count(), 1);
    EXPECT_EQ(exits.count(), 0);

    action(window.get(), "exit")->trigger();
    EXPECT_EQ(exits.count(), 1);

    window->show();
    EXPECT_FALSE(window->close()) << "the title bar's close box means Exit; the flow ends the run";
    EXPECT_EQ(exits.count(), 2);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(newUsers.count(), 1);
    EXPECT_EQ(signIns.count(), 1);
}

TEST_F(MainWindowTest, TextBoxesHoldTheRiddleExactly) {
    using mindlark::RiddleTextBox;
    struct Box {
        RiddleTextBox* box;
        QString text;
        int lines;
    };
    const Box boxes[] = {
        {english().cluesBox(), mindlark::cluesText(Language::English), 15},
        {english().introBox(), mindlark::introText(Language::English), 11},
        {arabic().cluesBox(), mindlark::cluesText(Language::Arabic), 15},
        {arabic().introBox(), mindlark::introText(Language::Arabic), 11},
    };
    for (const Box& b : boxes) {
        EXPECT_EQ(b.box->text(), b.text) << b.box->objectName().toStdString();
        EXPECT_TRUE(b.box->isReadOnly());
        // Every CR LF pair is one line break on screen, never two.
        QTextDocument* document = b.box->document();
        EXPECT_EQ(document->blockCount(), b.lines);
        const QStringList lines = b.text.split(QStringLiteral("\r\n"));
        int i = 0;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next(), ++i) {
            EXPECT_EQ(block.text(), lines.value(i));
            EXPECT_EQ(block.textDirection(), Qt::LeftToRight) << lines.value(i).toStdString();
        }
    }
    EXPECT_EQ(english().cluesBox()->objectName(), "Clues");
    EXPECT_EQ(arabic().introBox()->objectName(), "IntroA");
    EXPECT_TRUE(english().codeBox()->text().isEmpty());
    EXPECT_TRUE(arabic().codeBox()->text().isEmpty());
}

TEST(RiddleTextBox, KeepsExactTextAndFollowsOtherWriters) {
    mindlark::RiddleTextBox box(QStringLiteral("Code"));
    box.setText(QStringLiteral(" 1\r\n2\r\n"));
    EXPECT_EQ(box.text(), QStringLiteral(" 1\r\n2\r\n"));
    EXPECT_EQ(box.document()->blockCount(), 3);
    // Should anything write the document directly, text() follows what is shown.
    box.setPlainText(QStringLiteral("a\nb"));
    EXPECT_EQ(box.text(), QStringLiteral("a\r\nb"));
    box.setText(QString());
    EXPECT_TRUE(box.text().isEmpty());
}

TEST_F(MainWindowTest, AClearedGameEmptiesEveryListButKeepsCodes) {
    list(english(), Attribute::Color, 1)->setListIndex(2);
    list(english(), Attribute::Drink, 5)->setListIndex(4);
    list(arabic(), Attribute::Smoke, 3)->setListIndex(1);
    window->englishPane()->generateButton()->click();
    window->arabicPane()->generateButton()->click();
    const QString code = english().codeBox()->text();
    const QString codeA = arabic().codeBox()->text();
    ASSERT_FALSE(code.isEmpty());
    ASSERT_FALSE(codeA.isEmpty());

    mindlark::testing::choose(*window, "arabic");  // whichever pane is shown, both are cleared
    game.clear();
    for (mindlark::LanguagePane* pane : {&english(), &arabic()}) {
        for (mindlark::AnswerList* l : pane->findChildren<mindlark::AnswerList*>()) {
            EXPECT_EQ(l->listIndex(), -1) << l->objectName().toStdString();
            EXPECT_TRUE(l->currentText().isEmpty()) << "the initial text is gone as well";
            EXPECT_EQ(l->count(), 5);
        }
    }
    EXPECT_EQ(english().codeBox()->text(), code);
    EXPECT_EQ(arabic().codeBox()->text(), codeA);
}

TEST_F(MainWindowTest, KeyboardAloneReachesExitThroughTheMenu) {
    QSignalSpy exits(window.get(), &mindlark::MainWindow::exitRequested);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // Alt pressed and released alone highlights "File", which has no mnemonic.
    QTest::keyPress(window.get(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(window.get(), Qt::Key_Alt, Qt::NoModifier);
    QMenuBar* bar = window->menuBar();
    ASSERT_TRUE(bar->hasFocus());
    QTest::keyClick(bar, Qt::Key_Down);
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_NE(menu, nullptr);
    // New User, Sign In, Language (separators are skipped), then Exit.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_EQ(exits.count(), 1);
}

TEST_F(MainWindowTest, F10EntersTheMenuBarAndEscapeLeavesIt) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget* start = english().generateButton();
    start->setFocus();
    const auto press = [](Qt::Key key) {
        QWidget* popup = QApplication::activePopupWidget();
        QTest::keyClick(popup ? popup : QApplication::focusWidget(), key);
    };
    press(Qt::Key_F10);
    QMenuBar* bar = window->menuBar();
    ASSERT_TRUE(bar->hasFocus());
    EXPECT_EQ(bar->activeAction(), window->findChild<QMenu*>("File")->menuAction());
    press(Qt::Key_Down);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    // What a screen reader reads of the open menu: each item's role and name, in order.
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(menu);
    QStringList items;
    for (int i = 0; i < read->childCount(); ++i) {
        items << QStringLiteral("%1:%2").arg(
            QMetaEnum::fromType<QAccessible::Role>().valueToKey(read->child(i)->role()),
            read->child(i)->text(QAccessible::Name));
    }
    EXPECT_EQ(items, QStringList({"MenuItem:New User", "MenuItem:Sign In", "Separator:",
                                  "MenuItem:Language", "Separator:", "MenuItem:Exit"}));
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Down);
    EXPECT_EQ(menu->activeAction()->text(), "Exit");
    press(Qt::Key_Escape);
    EXPECT_TRUE(bar->hasFocus()) << "the first Escape closes the menu only";
    press(Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), start);
}
