#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "mainwindowfixture.h"

using mindlark::Attribute;
using mindlark::Language;
using mindlark::MainWindow;
using mindlark::testing::MainWindowTest;

TEST_F(MainWindowTest, EmptyGridIsRefusedAndThePreviousCodeStays) {
    window->englishPane()->generateButton()->click();
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0].first, "Error");
    EXPECT_EQ(refusals[0].second, "You have to check your answer!");
    EXPECT_TRUE(english().codeBox()->text().isEmpty());

    window->arabicPane()->generateButton()->click();
    ASSERT_EQ(refusals.size(), 2u);
    EXPECT_EQ(refusals[1].first, "Error");
    EXPECT_EQ(refusals[1].second, QStringLiteral(u"يجب أن تغير أجوبتك"));

    // A code, then a cleared grid: the refusal leaves that code in place.
    list(english(), Attribute::Color, 1)->setListIndex(2);
    window->englishPane()->generateButton()->click();
    const QString code = english().codeBox()->text();
    ASSERT_FALSE(code.isEmpty());
    game.clear();
    window->englishPane()->generateButton()->click();
    EXPECT_EQ(refusals.size(), 3u);
    EXPECT_EQ(english().codeBox()->text(), code);
}

TEST_F(MainWindowTest, ButtonWritesTheCodeOfItsOwnPane) {
    list(english(), Attribute::Color, 1)->setListIndex(2);
    QTest::mouseClick(english().generateButton(), Qt::LeftButton);
    EXPECT_EQ(english().codeBox()->text(),
              " 2-1-1--1-1-1--1-1-1-1--1-1-1-1--1-1-1--1-1-1--1-30--1-1-1--1- 0");
    EXPECT_TRUE(arabic().codeBox()->text().isEmpty()) << "the other pane's box is untouched";
    EXPECT_TRUE(refusals.empty());

    // The Arabic grid is still empty, whatever the English one holds.
    window->arabicPane()->generateButton()->click();
    EXPECT_EQ(refusals.size(), 1u);
    EXPECT_TRUE(arabic().codeBox()->text().isEmpty());

    for (Attribute row : {Attribute::Color, Attribute::Pet, Attribute::Drink,
                          Attribute::Nationality, Attribute::Smoke}) {
        for (int h = 1; h <= 5; ++h)
            list(arabic(), row, h)->setListIndex(0);
    }
    game.greet("Ann", {});
    for (int i = 0; i < 8; ++i)
        mindlark::testing::tick(game);  // first tick restarts at 0
    ASSERT_EQ(game.elapsed(), 7);
    mindlark::testing::choose(*window, "arabic");
    window->show();
    QTest::mouseClick(arabic().generateButton(), Qt::LeftButton);
    EXPECT_EQ(arabic().codeBox()->text(),
              " 0 0 0- 0 0 0- 0 0 0 0- 0 0 0 0- 0 0 0- 0 0 0- 0-- 0 0 0- 0- 7");
    EXPECT_EQ(english().codeBox()->text(),
              " 2-1-1--1-1-1--1-1-1-1--1-1-1-1--1-1-1--1-1-1--1-30--1-1-1--1- 0");
}

TEST_F(MainWindowTest, EachPressTakesTheAgeAndCounterOfItsMoment) {
    list(english(), Attribute::Smoke, 5)->setListIndex(3);
    game.setAge(QStringLiteral("41"));
    window->englishPane()->generateButton()->click();
    EXPECT_TRUE(english().codeBox()->text().endsWith("-41--1-1-1- 3- 0"));

    // A second press replaces the first code with the values of its own moment.
    mindlark::testing::tick(game);
    mindlark::testing::tick(game);
    game.setAge(QStringLiteral(" 4\r\n2"));
    window->englishPane()->generateButton()->click();
    EXPECT_EQ(english().codeBox()->text(), mindlark::buildAnswerCode(game.grid(Language::English),
                                                                     QStringLiteral(" 4\r\n2"), 2));
}

TEST(AnswerCodeRefusalBox, IsAModalErrorBoxWithOneOkButton) {
    mindlark::Game game;
    MainWindow window(game);
    window.show();
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton*> buttons;
    QMessageBox::StandardButtons standard;
    bool modal = false;
    bool seen = false;
    // Poll from the event loop the box runs, so a missing box cannot hang the test.
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        poll.stop();
        seen = true;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons();
        standard = box->standardButtons();
        modal = box->isModal();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start();
    window.arabicPane()->generateButton()->click();
    ASSERT_TRUE(seen);
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(text, QStringLiteral(u"يجب أن تغير أجوبتك"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons.size(), 1);
    EXPECT_EQ(standard, QMessageBox::Ok);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(window.arabicPane()->codeBox()->text().isEmpty());
}
