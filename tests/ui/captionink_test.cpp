// What a reader sees of every caption. Each caption is lettered once as the game
// draws it (the window with the caption, less the window without it) and once
// alone with nothing clipped; the two must hold the same ink, pixel for pixel.
// CTest runs this at scale factors 1, 1.5 and 2 with only the fonts a fresh
// machine gets from the install lists.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <algorithm>
#include <string>
#include <vector>

#include "accounts/accountbuffers.h"
#include "accounts/accountstore.h"
#include "ui/accounts/registrationwindow.h"
#include "ui/accounts/signinwindow.h"
#include "ui/main/languagepane.h"
#include "ui/main/mainwindow.h"

namespace mindlark {
namespace {

// The grid's lists are designed three pixels taller than their spacing.
constexpr int kDesignedOverlap = 3;

// The pixels of `after` that differ from `before`, as a mask.
QImage inkBetween(const QImage& before, const QImage& after) {
    QImage mask(before.size(), QImage::Format_Mono);
    mask.fill(0);
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y))
                mask.setPixel(x, y, 1);
        }
    }
    return mask;
}

QRect boundsOf(const QImage& mask) {
    QRect bounds;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if (mask.pixelIndex(x, y))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// Pixels inked in one of `whole` and `drawn` but not the other, once both are lined up by their
// top-left ink; the caption may sit a little higher or lower than a bare label
// would put it, but not lose or gain a pixel.
int pixelsDiffering(const QImage& whole, const QImage& drawn) {
    const QRect a = boundsOf(whole);
    const QRect b = boundsOf(drawn);
    if (a.isEmpty())
        return 0;
    const QPoint shift = b.topLeft() - a.topLeft();
    int lost = 0;
    for (int y = a.top(); y <= a.bottom(); ++y) {
        for (int x = a.left(); x <= a.right(); ++x) {
            const QPoint there = QPoint(x, y) + shift;
            const bool shown = drawn.rect().contains(there) && drawn.pixelIndex(there) != 0;
            if ((whole.pixelIndex(x, y) != 0) != shown)
                ++lost;
        }
    }
    return lost;
}

std::vector<QWidget*> workingControls(QWidget& window) {
    std::vector<QWidget*> controls;
    for (QWidget* child : window.findChildren<QWidget*>()) {
        const bool working =
            qobject_cast<QComboBox*>(child) || qobject_cast<QAbstractButton*>(child) ||
            qobject_cast<QTextEdit*>(child) ||
            (qobject_cast<QLineEdit*>(child) && !qobject_cast<QComboBox*>(child->parent()));
        if (working && child->isVisibleTo(&window))
            controls.push_back(child);
    }
    return controls;
}

std::string describe(const QLabel* label) {
    return (label->objectName() + QStringLiteral(" (") + label->property("index").toString() +
            QStringLiteral(") \"") + label->text() + QStringLiteral("\""))
        .toStdString();
}

std::string sizeOf(const QRect& rect) {
    return std::to_string(rect.width()) + "x" + std::to_string(rect.height());
}

// Checks every shown caption of `area`, drawn inside `window`.
void expectCaptionsWhole(QWidget& window, QWidget& area) {
    window.show();
    const std::vector<QWidget*> controls = workingControls(window);
    int checked = 0;
    for (QLabel* label : area.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        label->show();  // the red warnings too: a refused input shows them
        if (!label->isVisibleTo(&window))
            continue;
        const QString caption = label->text();
        const QRect place(label->mapTo(&window, QPoint(0, 0)), label->size());
        const QFontMetrics metrics(label->font());
        const int reach = metrics.horizontalAdvance(caption) + metrics.height();
        const QRect region =
            place.adjusted(-reach, -2 * metrics.height(), reach, 2 * metrics.height()) &
            window.rect();

        const QImage shown = window.grab(region).toImage();
        label->setText(QString());
        const QImage bare = window.grab(region).toImage();
        label->setText(caption);

        QImage whole = bare;
        {
            QPainter painter(&whole);
            painter.translate(-region.topLeft());
            painter.setLayoutDirection(label->layoutDirection());
            painter.setFont(label->font());
            painter.setPen(label->palette().color(label->foregroundRole()));
            painter.drawText(place, static_cast<int>(label->alignment()) | Qt::TextDontClip,
                             caption);
        }
        const QImage drawnInk = inkBetween(bare, shown);
        const QImage wholeInk = inkBetween(bare, whole);
        EXPECT_EQ(pixelsDiffering(wholeInk, drawnInk), 0)
            << describe(label) << ": ink " << sizeOf(boundsOf(wholeInk)) << " px, drawn "
            << sizeOf(boundsOf(drawnInk));

        const qreal ratio = shown.devicePixelRatio();
        const QRect drawnBounds = boundsOf(drawnInk);
        const QRect inkPlace(region.topLeft() + (drawnBounds.topLeft() / ratio),
                             drawnBounds.size() / ratio);
        for (QWidget* control : controls) {
            const QRect shared =
                inkPlace & QRect(control->mapTo(&window, QPoint(0, 0)), control->size());
            EXPECT_LE(std::min(shared.width(), shared.height()), kDesignedOverlap)
                << describe(label) << ": ink runs under " << control->objectName().toStdString();
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST(CaptionInk, BothPanesShowEveryCaptionWhole) {
    MainWindow window([] { return QString(); });
    window.englishs_Click();
    {
        SCOPED_TRACE("English");
        expectCaptionsWhole(window, *window.englishPane());
    }
    window.arabic_Click();
    {
        SCOPED_TRACE("Arabic");
        expectCaptionsWhole(window, *window.arabicPane());
    }
}

TEST(CaptionInk, AccountWindowsShowEveryCaptionWhole) {
    QTemporaryDir dir;
    AccountStore store(dir.path());
    AccountBuffers buffers;
    RegistrationWindow form2(store, buffers);
    SignInWindow form3(store, buffers, [&dir] { return dir.path(); });
    for (QWidget* window : std::initializer_list<QWidget*>{&form2, &form3}) {
        SCOPED_TRACE(window->objectName().toStdString());
        expectCaptionsWhole(*window, *window);
    }
}

// Fails when the screen holds anything a fresh drawing of `window` does not:
// ink left behind by a caption that changed or hid.
void expectScreenUpToDate(QWidget& window, const char* after) {
    // The repaints a change asks for, and those they ask for in turn.
    for (int round = 0; round < 3; ++round)
        QApplication::processEvents();
    const QImage screen = window.screen()->grabWindow(window.winId()).toImage();
    const QImage fresh = window.grab().toImage();
    EXPECT_FALSE(screen.isNull()) << after;
    EXPECT_EQ(screen.convertToFormat(QImage::Format_RGB32),
              fresh.convertToFormat(QImage::Format_RGB32))
        << after;
}

TEST(CaptionInk, ChangedAndHiddenCaptionsLeaveNoInk) {
    MainWindow window([] { return QString(); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    if (window.devicePixelRatio() != 1)
        GTEST_SKIP() << "the offscreen screen is grabbed at scale 1 only";
    // A caption whose letters reach below its box.
    QLabel* caption = nullptr;
    for (QLabel* label : window.englishPane()->findChildren<QLabel*>()) {
        if (label->objectName() == QStringLiteral("Label9"))
            caption = label;
    }
    ASSERT_NE(caption, nullptr);
    const QString text = caption->text();
    caption->setText(QStringLiteral(u"gjpqy \u062C\u064A\u0628"));
    expectScreenUpToDate(window, "a new text");
    caption->setText(text);
    expectScreenUpToDate(window, "the old text again");
    caption->hide();
    expectScreenUpToDate(window, "hiding");
    caption->show();
    expectScreenUpToDate(window, "showing");
}

}  // namespace
}  // namespace mindlark
