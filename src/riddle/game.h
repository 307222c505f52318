#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "riddle/answercode.h"
#include "riddle/elapsedcounter.h"
#include "riddle/riddletexts.h"

namespace mindlark {

// One game apart from any window: the choices on both panes' answer grids, the
// elapsed counter with the greeting it counts from, and the age the answer code
// carries. The window flow keeps one for the whole run and sets the age; the main
// window tells it every choice, greeting and timer tick, and shows the codes it
// makes. Its counter moves only on the main window's ticks, so it counts from
// that window's creation.
class Game {
public:
    // Nothing chosen, the counter at 0 against an empty greeting, an empty age.
    Game();

    // The list of `attribute` for house 1 to 5 on `pane` now shows option `index`;
    // an index outside the options, like -1, means nothing is chosen there. A
    // place outside the grid changes nothing.
    void choose(Language pane, Attribute attribute, int house, int index);
    // The 25 selection indexes of `pane` in grid order.
    const GridIndexes& grid(Language pane) const;

    // The welcome caption now reads `greeting`. The next tick restarts the count
    // when the greeting then differs from the one the count runs from.
    void setGreeting(const QString& greeting) { greeting_ = greeting; }
    // One tick of the one-second timer.
    void tick() { counter_.tick(greeting_); }
    // Ticks counted since the greeting last changed.
    std::int64_t elapsed() const { return counter_.value(); }

    // The age the answer code carries, any text: a signed-in account's stored
    // age, empty after a registration, and the registration form's age box while
    // that is edited.
    void setAge(const QString& age) { age_ = age; }
    const QString& age() const { return age_; }

    // The answer code of `pane`'s grid with the age and the count as they are now;
    // nothing when no list of that grid has a choice.
    std::optional<QString> answerCode(Language pane) const;

private:
    GridIndexes english_;
    GridIndexes arabic_;
    QString greeting_;
    ElapsedCounter counter_;
    QString age_;
};

}  // namespace mindlark
