#include "gem/numread.h"
#include "gem/numtext.h"

#include <gtest/gtest.h>

TEST(NumberTexts, FixedRoundsTiesToEvenOnTheExactBinaryValue) {
    EXPECT_EQ(fixed(3, 8, 3), "   3.000");
    EXPECT_EQ(fixed(-10, 11, 6), " -10.000000");
    EXPECT_EQ(fixed(0.125L, 0, 2), "0.12"); // exact tie: to even
    EXPECT_EQ(fixed(0.375L, 0, 2), "0.38"); // exact tie: to even
    EXPECT_EQ(fixed(2.675L, 0, 2), "2.67"); // 2.675 is stored just below the tie
    EXPECT_EQ(fixed(2.5L, 0, 0), "2");
    EXPECT_EQ(fixed(3.5L, 0, 0), "4");
}

TEST(NumberTexts, FixedNeverTruncatesAndDropsTheSignOfZero) {
    EXPECT_EQ(fixed(123456.789L, 5, 2), "123456.79");
    EXPECT_EQ(fixed(-0.0001L, 6, 3), " 0.000");
    EXPECT_EQ(fixed(-0.0L, 11, 8), " 0.00000000");
    EXPECT_EQ(fixed(-0.0006L, 0, 3), "-0.001");
}

TEST(NumberTexts, ZeroPaddedTurnsLeadingBlanksIntoZeros) {
    EXPECT_EQ(ZeroPadded(6, 2, 0), "06");
    EXPECT_EQ(ZeroPadded(48, 2, 0), "48");
    EXPECT_EQ(ZeroPadded(123, 2, 0), "123");
    EXPECT_EQ(ZeroPadded(1.5L, 5, 1), "001.5");
}

TEST(NumberTexts, NumberTextShowsDecimalsOnlyWhenNeeded) {
    EXPECT_EQ(NumberText(24), "   24");
    EXPECT_EQ(NumberText(3.5L), "3.50");
    EXPECT_EQ(NumberText(-3.25L), "-3.25");
    EXPECT_EQ(NumberText(12.001L), "   12");
    EXPECT_EQ(NumberText(95.999L), "   96");
    EXPECT_EQ(NumberText(0), "    0");
}

TEST(NumberReading, RealsAcceptSignPointAndExponentOnly) {
    EXPECT_EQ(ReadReal(" 41.5 "), 41.5L);
    EXPECT_EQ(ReadReal("-1e2"), -100.0L);
    EXPECT_EQ(ReadReal("+.5"), 0.5L);
    EXPECT_EQ(ReadReal("7."), 7.0L);
    for (const char* bad : {"", "  ", "41,5", "1e", "e5", "--1", "1.2.3", "inf", "nan", "0x10", "1e99999"})
        EXPECT_FALSE(ReadReal(bad).has_value()) << bad;
}

TEST(NumberReading, IntegersAreWholeAndInRange) {
    EXPECT_EQ(ReadInteger(" -96 "), -96);
    EXPECT_EQ(ReadInteger("+8"), 8);
    for (const char* bad : {"", "8.0", "1e2", "3x", "-", "2147483648"})
        EXPECT_FALSE(ReadInteger(bad).has_value()) << bad;
    EXPECT_EQ(ReadInteger("-2147483648"), INT32_MIN);
}
