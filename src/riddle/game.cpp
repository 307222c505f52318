#include "riddle/game.h"

namespace mindlark {

Game::Game() {
    english_.fill(-1);
    arabic_.fill(-1);
}

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

std::optional<QString> Game::answerCode(Language pane) const {
    const GridIndexes& chosen = grid(pane);
    if (isGridEmpty(chosen))
        return std::nullopt;
    return buildAnswerCode(chosen, age_, counter_.value());
}

}  // namespace mindlark
