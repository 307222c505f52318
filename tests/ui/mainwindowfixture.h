#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QTimerEvent>
#include <memory>
#include <utility>
#include <vector>

#include "riddle/game.h"
#include "riddle/riddletexts.h"
#include "ui/main/answerlist.h"
#include "ui/main/languagepane.h"
#include "ui/main/mainwindow.h"
#include "ui/main/riddletextbox.h"

namespace mindlark::testing {

// A place given in twips as the logical-pixel rectangle the window uses.
inline QRect twipsPlace(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// Where `widget` lies within `area`, which holds it.
inline QRect placeIn(const QWidget& area, const QWidget* widget) {
    return QRect(widget->mapTo(&area, QPoint(0, 0)), widget->size());
}

// The member of a numbered label family ("Label14", index 3) inside `parent`.
inline QLabel* labelOf(const QWidget* parent, const QString& name, int index) {
    for (QLabel* label : parent->findChildren<QLabel*>(name)) {
        if (label->property("index").toInt() == index)
            return label;
    }
    return nullptr;
}

// One tick of the game's one-second timer, delivered as the timer delivers it;
// tests inject time this way, one call per second.
inline void tick(const Game& game) {
    auto* timer = game.findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    ASSERT_TRUE(timer->isActive()) << "the game has not begun";
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
}

// The menu item named `name` ("arabic", "englishs", "exit", ...) of `window`.
inline QAction* action(QWidget* window, const char* name) {
    return window->findChild<QAction*>(QString::fromLatin1(name));
}

// Chooses the menu item named `name`.
inline void choose(MainWindow& window, const char* name) {
    QAction* item = action(&window, name);
    ASSERT_NE(item, nullptr) << name;
    item->trigger();
}

// A main window over a game of the test's own, begun as the flow's game is by
// the time its window exists, with its refusal box in the test's hands.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        game.setAge(QStringLiteral("30"));
        game.start();
        window = std::make_unique<MainWindow>(game);
        window->setRefusalPresenter([this](const QString& title, const QString& prompt) {
            refusals.emplace_back(title, prompt);
        });
    }

    LanguagePane& english() { return *window->englishPane(); }
    LanguagePane& arabic() { return *window->arabicPane(); }
    AnswerList* list(LanguagePane& pane, Attribute attribute, int house) {
        return pane.list(attribute, house);
    }

    Game game;
    std::vector<std::pair<QString, QString>> refusals;
    std::unique_ptr<MainWindow> window;
};

}  // namespace mindlark::testing
