#include "numbers/numbers.h"

#include <gtest/gtest.h>

using mindlark::numberText;
using mindlark::readNumberLeniently;
using mindlark::readNumberStrictly;

TEST(Numbers, NumberTextHasALeadingSpaceUnlessNegative) {
    EXPECT_EQ(numberText(0), " 0");
    EXPECT_EQ(numberText(4), " 4");
    EXPECT_EQ(numberText(125), " 125");
    EXPECT_EQ(numberText(-1), "-1");
}

TEST(Numbers, LenientReadingTakesTheLeadingNumberElseZero) {
    EXPECT_EQ(readNumberLeniently(u"12"), 12);
    EXPECT_EQ(readNumberLeniently(u"  7abc"), 7);
    EXPECT_EQ(readNumberLeniently(u"\t\n 1 2"), 12);
    EXPECT_EQ(readNumberLeniently(u"-3"), -3);
    EXPECT_EQ(readNumberLeniently(u""), 0);
    EXPECT_EQ(readNumberLeniently(u"abc"), 0);
    EXPECT_EQ(readNumberLeniently(u"x12"), 0);
    EXPECT_EQ(readNumberLeniently(u"99999999999999999999999"), INT64_MAX);
    EXPECT_EQ(readNumberLeniently(u"-99999999999999999999999"), INT64_MIN);
}

TEST(Numbers, StrictReadingNeedsTheWholeText) {
    EXPECT_EQ(readNumberStrictly(u"0"), 0);
    EXPECT_EQ(readNumberStrictly(u" 12 "), 12);
    EXPECT_EQ(readNumberStrictly(u"-4"), -4);
    EXPECT_EQ(readNumberStrictly(u"9223372036854775807"), INT64_MAX);
    EXPECT_EQ(readNumberStrictly(u"-9223372036854775808"), INT64_MIN);
    for (const char16_t* bad : {u"", u" ", u"1a", u"a1", u"1 2", u"-", u"\t1", u"1\r\n",
                                u"9223372036854775808", u"0x10"}) {
        EXPECT_FALSE(readNumberStrictly(bad).has_value()) << QString::fromUtf16(bad).toStdString();
    }
}
