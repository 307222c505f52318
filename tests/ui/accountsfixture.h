#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <memory>

namespace mindlark::testing {

// A named child control of `window`; fails the test when it is missing.
template <class Control>
Control* control(const QWidget& window, const char* name) {
    auto* found = window.findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no control named " << name;
    return found;
}

// A hidden account window of its own, with what every test of it asks: a named
// text box, and whether its red warning shows.
template <class Window>
class AccountWindowTest : public ::testing::Test {
protected:
    QLineEdit* box(const char* name) { return control<QLineEdit>(*window, name); }
    bool warningShown() { return control<QLabel>(*window, "worning")->isVisibleTo(window.get()); }

    std::unique_ptr<Window> window = std::make_unique<Window>();
};

// Types `text` into `box` key by key, as a player would; letters outside ASCII
// arrive as key events carrying their text, as an input method delivers them.
inline void typeInto(QWidget* box, const QString& text) {
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClicks(box, QString(ch));
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// The controls that take the focus, in the order Tab visits them from `first`,
// found by pressing Tab on the shown window until the focus comes back.
inline QList<QWidget*> tabChain(QWidget* first) {
    QList<QWidget*> chain{first};
    first->setFocus(Qt::TabFocusReason);
    QWidget* window = first->window();
    while (chain.size() < 20) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        if (window->focusWidget() == first)
            break;
        chain.append(window->focusWidget());
    }
    return chain;
}

}  // namespace mindlark::testing
