// The text of a live value: what a mechanic reads off the Value column.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "database/ValueText.h"

namespace {

TEST(ValueText, RoundsToTheDefinitionsDecimalsWithTheCallersSeparator) {
    EXPECT_EQ(ValueText(12.6, 0), "13");
    EXPECT_EQ(ValueText(-0.5, 2, ','), "-0,50");
    EXPECT_EQ(ValueText(-0.5, 2), "-0.50");
    EXPECT_EQ(ValueText(2.5, 0), "3");  // halves away from zero
    EXPECT_EQ(ValueText(-2.5, 0), "-3");
    EXPECT_EQ(ValueText(9.996, 2), "10.00");  // a carry adds an integer digit
    EXPECT_EQ(ValueText(0.0004, 2), "0.00");
    EXPECT_EQ(ValueText(-0.001, 2), "0.00");  // no minus on a shown zero
    EXPECT_EQ(ValueText(1234.5678, 3), "1234.568");
    EXPECT_EQ(ValueText(65535, 1), "65535.0");
}

TEST(ValueText, KeepsFifteenSignificantDigitsAndNoMore) {
    // 0.1 + 0.2 is 0.30000000000000004 in binary; fifteen digits show 0.3.
    EXPECT_EQ(ValueText(0.1 + 0.2, 17), "0.30000000000000000");
    EXPECT_EQ(ValueText(123456789012345.0, 2), "123456789012345.00");
    EXPECT_EQ(ValueText(1.0 / 3.0, 18), "0.333333333333333000");
    EXPECT_EQ(ValueText(1.0, 200), "1.000000000000000000");  // at most 18 decimals
}

TEST(ValueText, HugeAndNonFiniteValuesStayReadable) {
    EXPECT_EQ(ValueText(1e16, 2), "1E16");
    EXPECT_EQ(ValueText(-1.5e20, 0, ','), "-1,5E20");
    EXPECT_EQ(ValueText(std::numeric_limits<double>::quiet_NaN(), 2), "NAN");
    EXPECT_EQ(ValueText(-std::numeric_limits<double>::infinity(), 2), "-INF");
}

}  // namespace
