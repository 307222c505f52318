// What a reader sees of every caption: its ink as the game draws it (the window
// with the caption less the window without it) must be the caption's whole ink,
// lettered alone and unclipped, pixel for pixel. CTest runs this at scale
// factors 1, 1.5 and 2 with only the fonts a fresh machine has.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <functional>

#include "ui/accounts/registrationwindow.h"
#include "ui/accounts/signinwindow.h"
#include "ui/main/languagepane.h"
#include "ui/main/mainwindow.h"
#include "ui/mainwindowfixture.h"

namespace mindlark {
namespace {

using testing::placeIn;

// The pixels where `drawn` differs from `bare`: their shape, moved to start at
// 0,0 (a caption may sit higher than a bare label puts it), and their bounds.
struct Ink {
    QList<QPoint> shape;
    QRect bounds;
};

Ink inkBetween(const QImage& bare, const QImage& drawn) {
    Ink ink;
    for (int y = 0; y < bare.height(); ++y) {
        for (int x = 0; x < bare.width(); ++x) {
            if (bare.pixel(x, y) != drawn.pixel(x, y)) {
                ink.shape << QPoint(x, y);
                ink.bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    for (QPoint& point : ink.shape)
        point -= ink.bounds.topLeft();
    return ink;
}

// Checks every caption of `area`, drawn inside `window`, the hidden warnings too.
void expectCaptionsWhole(QWidget& window, QWidget& area) {
    window.show();
    for (QLabel* label : area.findChildren<QLabel*>()) {
        label->show();
        const QString caption = label->text();
        SCOPED_TRACE((label->objectName() + u' ' + caption).toStdString());
        const QRect place = placeIn(window, label);
        const int reach = 2 * QFontMetrics(label->font()).height();
        const QRect region =
            place.adjusted(-place.width(), -reach, place.width(), reach) & window.rect();

        const QImage shown = window.grab(region).toImage();
        label->setText(QString());
        const QImage bare = window.grab(region).toImage();
        label->setText(caption);
        QImage whole = bare;
        QPainter painter(&whole);
        painter.translate(-region.topLeft());
        painter.setLayoutDirection(label->layoutDirection());
        painter.setFont(label->font());
        painter.setPen(label->palette().color(label->foregroundRole()));
        painter.drawText(place, static_cast<int>(label->alignment()) | Qt::TextDontClip, caption);
        painter.end();

        const Ink drawn = inkBetween(bare, shown);
        const Ink unclipped = inkBetween(bare, whole);
        EXPECT_TRUE(drawn.shape == unclipped.shape)
            << unclipped.shape.size() << " ink pixels in " << unclipped.bounds.height() << " rows, "
            << drawn.shape.size() << " drawn in " << drawn.bounds.height();

        // The grid's lists are designed three pixels taller than their spacing.
        const qreal ratio = shown.devicePixelRatio();
        const QRect inkPlace(region.topLeft() + drawn.bounds.topLeft() / ratio,
                             drawn.bounds.size() / ratio);
        for (QWidget* control : window.findChildren<QWidget*>()) {
            const bool working =
                qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractButton*>(control) ||
                qobject_cast<QTextEdit*>(control) || qobject_cast<QLineEdit*>(control);
            const QRect shared = inkPlace & placeIn(window, control);
            if (working && control->isVisibleTo(&window)) {
                EXPECT_LE(std::min(shared.width(), shared.height()), 3)
                    << "under " << control->objectName().toStdString();
            }
        }
    }
}

TEST(CaptionInk, EveryCaptionIsWholeInBothPanesAndBothAccountWindows) {
    Game game;
    MainWindow main(game);
    testing::choose(main, "englishs");
    expectCaptionsWhole(main, *main.englishPane());
    testing::choose(main, "arabic");
    expectCaptionsWhole(main, *main.arabicPane());

    RegistrationWindow form2;
    SignInWindow form3;
    expectCaptionsWhole(form2, form2);
    expectCaptionsWhole(form3, form3);
}

// A caption that changes or hides takes all its ink with it, below its box too:
// the screen holds what a fresh drawing of the window shows.
TEST(CaptionInk, ChangedAndHiddenCaptionsLeaveNoInk) {
    Game game;
    MainWindow window(game);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    if (window.devicePixelRatio() != 1)
        GTEST_SKIP() << "the offscreen screen is grabbed at scale 1 only";
    auto* caption = window.englishPane()->findChild<QLabel*>(QStringLiteral("Label9"));
    ASSERT_NE(caption, nullptr);
    const QString text = caption->text();
    const std::function<void()> changes[] = {
        [&] { caption->setText(QStringLiteral(u"gjpqy \u062C\u064A\u0628")); },
        [&] { caption->setText(text); }, [&] { caption->hide(); }, [&] { caption->show(); }};
    for (const auto& change : changes) {
        change();
        for (int round = 0; round < 3; ++round)  // repaints, and those they ask for
            QApplication::processEvents();
        EXPECT_EQ(window.screen()
                      ->grabWindow(window.winId())
                      .toImage()
                      .convertToFormat(QImage::Format_RGB32),
                  window.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
}

}  // namespace
}  // namespace mindlark
