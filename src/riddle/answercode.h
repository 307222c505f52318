#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace mindlark {

// The selection indexes of one pane's 25 lists in grid order: Color of houses
// 1 to 5, then Pet, Drink, Nationality and Smoke; -1 where nothing is chosen.
using GridIndexes = std::array<std::int16_t, 25>;

// True when no list of the grid has a selection, so no code may be built.
bool isGridEmpty(const GridIndexes& grid);

// The one-line answer code: the 37 pieces (25 indexes as number text, the age
// text unchanged, the elapsed counter, and ten dashes) joined end to end.
QString buildAnswerCode(const GridIndexes& grid, const QString& ageText, std::int64_t elapsed);

}  // namespace mindlark
