// Layout checks that hold at every scale factor: CTest runs this program at 1,
// 1.5 and 2 (QT_SCALE_FACTOR), as on ordinary and high-DPI screens.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <algorithm>
#include <vector>

#include "riddle/game.h"
#include "ui/accounts/registrationwindow.h"
#include "ui/accounts/signinwindow.h"
#include "ui/main/languagepane.h"
#include "ui/main/mainwindow.h"
#include "ui/mainwindowfixture.h"

namespace mindlark {
namespace {

using testing::placeIn;

// The controls a player works with inside `area`: they must never cover each other.
std::vector<QWidget*> workingControls(QWidget& area) {
    std::vector<QWidget*> controls;
    for (QWidget* child : area.findChildren<QWidget*>()) {
        const bool working =
            qobject_cast<QComboBox*>(child) || qobject_cast<QAbstractButton*>(child) ||
            qobject_cast<QTextEdit*>(child) ||
            (qobject_cast<QLineEdit*>(child) && !qobject_cast<QComboBox*>(child->parent()));
        if (working && !child->isHidden())
            controls.push_back(child);
    }
    return controls;
}

// The grid's lists are designed a pixel wider and three pixels taller than their
// spacing, so neighbours touch along that edge; anything more is a real overlap.
constexpr int kDesignedOverlap = 3;

void expectNoOverlap(QWidget& area) {
    const std::vector<QWidget*> controls = workingControls(area);
    ASSERT_GT(controls.size(), 2u) << area.objectName().toStdString();
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const QRect shared = placeIn(area, controls[i]) & placeIn(area, controls[j]);
            EXPECT_LE(std::min(shared.width(), shared.height()), kDesignedOverlap)
                << controls[i]->objectName().toStdString() << " covers "
                << controls[j]->objectName().toStdString();
        }
    }
}

// Every caption and button text is drawn whole: as wide and as tall as its place allows.
void expectNothingClipped(QWidget& area) {
    for (QLabel* label : area.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width())
            << label->objectName().toStdString() << " " << label->text().toStdString();
        EXPECT_LE(metrics.capHeight(), label->height()) << label->objectName().toStdString();
    }
    for (QAbstractButton* button : area.findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty())
            continue;
        EXPECT_LT(QFontMetrics(button->font()).horizontalAdvance(button->text()), button->width())
            << button->objectName().toStdString();
        EXPECT_LT(QFontMetrics(button->font()).height(), button->height())
            << button->objectName().toStdString();
    }
}

TEST(Layout, MainWindowPanesKeepTheirPlacesUncovered) {
    Game game;
    MainWindow window(game);
    window.show();
    for (LanguagePane* pane : {window.englishPane(), window.arabicPane()}) {
        SCOPED_TRACE(pane->objectName().toStdString());
        expectNoOverlap(*pane);
        expectNothingClipped(*pane);
    }
    // The run really is at the scale it was started for.
    const double scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                             ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                             : 1.0;
    EXPECT_DOUBLE_EQ(window.devicePixelRatioF(), scale);
    // The client area keeps its designed size in logical pixels at every scale.
    EXPECT_EQ(window.centralWidget()->size(), QSize(765, 610));
}

TEST(Layout, AccountWindowsKeepTheirPlacesUncovered) {
    RegistrationWindow form2;
    SignInWindow form3;
    for (QWidget* window : std::initializer_list<QWidget*>{&form2, &form3}) {
        SCOPED_TRACE(window->objectName().toStdString());
        window->show();
        expectNoOverlap(*window);
        expectNothingClipped(*window);
    }
    EXPECT_EQ(form2.size(), QSize(399, 258));
    EXPECT_EQ(form3.size(), QSize(298, 186));
}

}  // namespace
}  // namespace mindlark
