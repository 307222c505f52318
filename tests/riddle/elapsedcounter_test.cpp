#include "riddle/elapsedcounter.h"

#include <gtest/gtest.h>

using mindlark::ElapsedCounter;

TEST(ElapsedCounter, UnchangedCaptionCountsFromCreation) {
    ElapsedCounter counter;
    EXPECT_EQ(counter.value(), 0);
    counter.tick("");
    EXPECT_EQ(counter.value(), 1);
    counter.tick("");
    EXPECT_EQ(counter.value(), 2);
}

TEST(ElapsedCounter, TickThatSeesANewCaptionRestartsAtZero) {
    ElapsedCounter counter;
    counter.tick("");
    counter.tick("");
    counter.tick("Welcome Ann");
    EXPECT_EQ(counter.value(), 0);
    counter.tick("Welcome Ann");
    EXPECT_EQ(counter.value(), 1);
    // Signing in again as the same user writes the same caption: no restart.
    counter.tick("Welcome Ann");
    EXPECT_EQ(counter.value(), 2);
}

TEST(ElapsedCounter, LetterCaseAloneIsAChange) {
    ElapsedCounter counter("Welcome ann");
    counter.tick("Welcome ann");
    EXPECT_EQ(counter.value(), 1);
    counter.tick("Welcome Ann");
    EXPECT_EQ(counter.value(), 0);
    counter.tick("Welcome Ann ");
    EXPECT_EQ(counter.value(), 0);
}

TEST(ElapsedCounter, GoesPastSixteenBitsWithoutWrapping) {
    ElapsedCounter counter("x");
    for (int i = 0; i < 40000; ++i)
        counter.tick("x");
    EXPECT_EQ(counter.value(), 40000);
    EXPECT_GT(counter.value(), 32767);
}
