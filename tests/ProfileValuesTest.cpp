// Texts of database.ini as numbers: integers, decimal numbers and addresses.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "database/ProfileValues.h"

// --- Integers ---

TEST(ParseInteger, AcceptsSignedDecimalAndUnsignedHexWithEveryPrefix) {
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"31", 31},
        {"+31", 31},
        {"-31", -31},
        {"007", 7},
        {"  \t42", 42},
        {"0x1F", 31},
        {"0X1f", 31},
        {"x1F", 31},
        {"X1F", 31},
        {"$1F", 31},
        {"0xFFFFFFFF", -1},
        {"$80000000", INT32_MIN},
        {"0x000000001", 1},  // leading zeros are not significant
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"0x100000000", std::nullopt},  // nine significant hex digits
        {"-0x5", std::nullopt},
        {"+$5", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {"1f", std::nullopt},
        {"12 ", std::nullopt},
        {"1.5", std::nullopt},
        {"true", std::nullopt},
        {"0x1G", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.value) << "text '" << c.text << "'";
    }
}

// --- Decimal numbers ---

// Under a comma locale too: see CommaLocaleTest.cpp.
TEST(ParseDecimal, TakesAPoint) {
    EXPECT_EQ(ParseDecimal("1.5"), 1.5);
    EXPECT_EQ(ParseDecimal("-40"), -40.0);
    EXPECT_EQ(ParseDecimal(" +2.5e2"), 250.0);
    EXPECT_EQ(ParseDecimal("1,5"), std::nullopt);
    EXPECT_EQ(ParseDecimal(""), std::nullopt);
    EXPECT_EQ(ParseDecimal("abc"), std::nullopt);
    EXPECT_EQ(ParseDecimal("+-1"), std::nullopt);
    EXPECT_EQ(ParseDecimal("inf"), std::nullopt);
    EXPECT_EQ(ParseDecimal("1e999"), std::nullopt);
}

// --- Addresses ---

TEST(ParseAddress, TakesBareHexDigitsOnly) {
    EXPECT_EQ(ParseAddress("1f"), 0x1F);
    EXPECT_EQ(ParseAddress("01A4"), 0x1A4);
    EXPECT_EQ(ParseAddress("0"), 0);
    EXPECT_EQ(ParseAddress("FFFFFFFF"), -1);
    EXPECT_EQ(ParseAddress("000000001"), 1);
}

TEST(ParseAddress, FailsWithTheTextPrefixedAsTheUserSeesIt) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"0x1F", "'0x0x1F' is not a valid integer value"},
        {"", "'0x' is not a valid integer value"},
        {"-5", "'0x-5' is not a valid integer value"},
        {"$1F", "'0x$1F' is not a valid integer value"},
        {"1F ", "'0x1F ' is not a valid integer value"},
        {"100000000", "'0x100000000' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        try {
            ParseAddress(c.text);
            ADD_FAILURE() << "no error for '" << c.text << "'";
        } catch (const ConversionError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
    // Fixed fault: a zero byte ended the message, and the start-up box read '0x12.
    try {
        ParseAddress(std::string("12\0AB", 5));
        ADD_FAILURE() << "no error for a zero byte";
    } catch (const ConversionError& error) {
        EXPECT_STREQ(error.what(), "'0x12?AB' is not a valid integer value");
    }
}
