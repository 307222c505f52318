#include "riddle/answercode.h"

#include <gtest/gtest.h>

using mindlark::buildAnswerCode;
using mindlark::GridIndexes;
using mindlark::isGridEmpty;

namespace {

GridIndexes filled(std::int16_t value) {
    GridIndexes grid;
    grid.fill(value);
    return grid;
}

}  // namespace

TEST(AnswerCode, AllZeroWithAgeAndCounter) {
    const QString code = buildAnswerCode(filled(0), "30", 125);
    EXPECT_EQ(code, " 0 0 0- 0 0 0- 0 0 0 0- 0 0 0 0- 0 0 0- 0 0 0- 0-30- 0 0 0- 0- 125");
    EXPECT_EQ(code.size(), 66);
}

TEST(AnswerCode, MixedRowsCutAcrossAttributeBoundaries) {
    GridIndexes grid{};
    const std::int16_t colors[] = {0, 1, 2, 3, 4};
    const std::int16_t pets[] = {4, 3, 2, 1, 0};
    for (int h = 0; h < 5; ++h) {
        grid[h] = colors[h];
        grid[5 + h] = pets[h];
        grid[10 + h] = 1;
        grid[15 + h] = 2;
        grid[20 + h] = 3;
    }
    EXPECT_EQ(buildAnswerCode(grid, "25", 40),
              " 0 1 2- 3 4 4- 3 2 1 0- 1 1 1 1- 1 2 2- 2 2 2- 3-25- 3 3 3- 3- 40");
}

TEST(AnswerCode, EveryCellHasItsOwnPlace) {
    // A value of its own in every cell: two pieces swapped or moved across a dash show.
    GridIndexes grid;
    for (int position = 0; position < 25; ++position)
        grid[position] = static_cast<std::int16_t>(10 + position);
    EXPECT_EQ(
        buildAnswerCode(grid, "age", 99),
        " 10 11 12- 13 14 15- 16 17 18 19- 20 21 22 23- 24 25 26- 27 28 29- 30-age- 31 32 33- "
        "34- 99");
}

TEST(AnswerCode, PartialGridGivesMinusOneForUnchosenLists) {
    GridIndexes grid = filled(-1);
    grid[0] = 2;
    EXPECT_FALSE(isGridEmpty(grid));
    EXPECT_EQ(buildAnswerCode(grid, "30", 0),
              " 2-1-1--1-1-1--1-1-1-1--1-1-1-1--1-1-1--1-1-1--1-30--1-1-1--1- 0");
}

TEST(AnswerCode, EmptyAgeMakesTheDashesMeet) {
    EXPECT_EQ(buildAnswerCode(filled(0), "", 7),
              " 0 0 0- 0 0 0- 0 0 0 0- 0 0 0 0- 0 0 0- 0 0 0- 0-- 0 0 0- 0- 7");
}

TEST(AnswerCode, AgeTextIsCopiedUnchanged) {
    const QString age = QStringLiteral(" 4\r\n2 x");
    const QString code = buildAnswerCode(filled(1), age, 0);
    EXPECT_TRUE(code.contains(QStringLiteral("- 1-") + age + QStringLiteral("- 1")));
    EXPECT_EQ(code.size(), 60 + age.size() + 2);
}

TEST(AnswerCode, HugeCounterIsWrittenInFull) {
    EXPECT_TRUE(buildAnswerCode(filled(0), "1", 9223372036854775807LL)
                    .endsWith(QStringLiteral("- 9223372036854775807")));
}

TEST(AnswerCode, EmptyGridIsOnlyAllMinusOne) {
    EXPECT_TRUE(isGridEmpty(filled(-1)));
    for (int position = 0; position < 25; ++position) {
        GridIndexes grid = filled(-1);
        grid[position] = 4;
        EXPECT_FALSE(isGridEmpty(grid)) << position;
    }
}
