#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

#include "riddle/answercode.h"
#include "riddle/elapsedcounter.h"
#include "riddle/riddletexts.h"

class QTimer;

namespace mindlark {

// One game apart from any window: the choices on both panes' answer grids, the
// greeting, the elapsed counter that runs from it on a one-second timer of its
// own, and the age the answer code carries. The window flow keeps one for the
// whole run and tells it when it begins, whom it greets and when a sign-in
// clears the grids; the main window shows it, tells it every choice and shows
// the codes it makes.
class Game : public QObject {
    Q_OBJECT

public:
    // Not begun: nothing chosen, no greeting, an empty age, the counter at 0 and
    // its timer still.
    explicit Game(QObject* parent = nullptr);
    ~Game() override;

    // The list of `attribute` for house 1 to 5 on `pane` now shows option `index`;
    // an index outside the options, like -1, means nothing is chosen there. A
    // place outside the grid changes nothing.
    void choose(Language pane, Attribute attribute, int house, int index);
    // The 25 selection indexes of `pane` in grid order.
    const GridIndexes& grid(Language pane) const;
    // Nothing chosen on either grid; the age, the greeting and the counter stay.
    void clear();

    // The game begins: its timer ticks every second from now on, each tick
    // counting on from 0 against an empty greeting. A game that has begun goes on.
    void start();
    // Greets `name` with "Welcome " and the name, exactly as stored, and the
    // answer code carries `age` from now on; begins the game if nothing has. The
    // count restarts at the next tick when the greeting differs from the one it
    // runs from, so greeting the same player again does not restart it.
    void greet(const QString& name, const QString& age);
    // What the welcome label reads: empty until the first greeting.
    const QString& greeting() const { return greeting_; }

    // One tick of the timer (tests call it in the timer's place).
    void tick() { counter_.tick(greeting_); }
    // Ticks counted since the greeting last changed.
    std::int64_t elapsed() const { return counter_.value(); }

    // The age the answer code carries, any text; the registration form's age box
    // sets it while that is edited.
    void setAge(const QString& age) { age_ = age; }
    const QString& age() const { return age_; }

    // The answer code of `pane`'s grid with the age and the count as they are now;
    // nothing when no list of that grid has a choice.
    std::optional<QString> answerCode(Language pane) const;

signals:
    // The greeting was written, changed or not.
    void greeted(const QString& greeting);
    // Both grids were cleared.
    void cleared();

private:
    GridIndexes english_;
    GridIndexes arabic_;
    QString greeting_;
    ElapsedCounter counter_;
    QString age_;
    QTimer* timer_;
};

}  // namespace mindlark
