#include "riddle/game.h"

#include <QTimer>

namespace mindlark {

Game::Game(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
    english_.fill(-1);
    arabic_.fill(-1);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &Game::tick);
}

Game::~Game() = default;

void Game::choose(Language pane, Attribute attribute, int house, int index) {
    const int row = static_cast<int>(attribute);
    if (row < 0 || row >= kAttributeCount || house < 1 || house > kHouseCount)
        return;
    const bool isOption = index >= 0 && index < kOptionCount;
    GridIndexes& grid = pane == Language::English ? english_ : arabic_;
    grid[row * kHouseCount + house - 1] = static_cast<std::int16_t>(isOption ? index : -1);
}

const GridIndexes& Game::grid(Language pane) const {
    return pane == Language::English ? english_ : arabic_;
}

void Game::clear() {
    english_.fill(-1);
    arabic_.fill(-1);
    emit cleared();
}

void Game::start() {
    if (!timer_->isActive())
        timer_->start();
}

void Game::greet(const QString& name, const QString& age) {
    start();
    greeting_ = QStringLiteral("Welcome ") + name;
    age_ = age;
    emit greeted(greeting_);
}

std::optional<QString> Game::answerCode(Language pane) const {
    const GridIndexes& chosen = grid(pane);
    if (isGridEmpty(chosen))
        return std::nullopt;
    return buildAnswerCode(chosen, age_, counter_.value());
}

}  // namespace mindlark
