// The code pages at the edges of the program: cp1251 definition texts, the
// cp866 VIN, and UTF-8 for terminals and windows.

#include <gtest/gtest.h>

#include <string>

#include "text/CodePage.h"

// --- Conversions that have a counterpart ---

TEST(CodePage, Cp1251RussianBecomesUtf8AndBack) {
    const std::string cp1251 = "\xCE\xE1\xEE\xF0\xEE\xF2\xFB, \xB0\x43 \xB9 \xB8\xA8";
    const std::string utf8 = "Обороты, °C № ёЁ";
    EXPECT_EQ(Cp1251ToUtf8(cp1251), utf8);
    EXPECT_EQ(Utf8ToCp1251(utf8), cp1251);
}

TEST(CodePage, EveryDefinedCp1251ByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != 0x98) all.push_back(static_cast<char>(byte));  // 0x98 is undefined
    }
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(CodePage, Cp866CyrillicBecomesCp1251) {
    // "VIN АБВ яё" in cp866
    EXPECT_EQ(Cp866ToCp1251("VIN \x80\x81\x82 \xEF\xF1"), "VIN \xC0\xC1\xC2 \xFF\xB8");
}

// --- Bytes without a counterpart never fail ---

TEST(CodePage, MissingCharactersBecomeOneQuestionMarkEach) {
    EXPECT_EQ(Cp1251ToUtf8("a\x98z"), "a?z");
    EXPECT_EQ(Utf8ToCp1251("a中z"), "a?z");
    EXPECT_EQ(Cp866ToCp1251("[\xC9\xCD]"), "[??]");  // box drawing
}

TEST(CodePage, BrokenUtf8CostsOneQuestionMarkPerByte) {
    EXPECT_EQ(Utf8ToCp1251("a\xFF\xC0z"), "a??z");
    EXPECT_EQ(Utf8ToCp1251("a\xD0"), "a?");  // cut off at the end
    EXPECT_EQ(Utf8ToCp1251("\xE4\xB8"), "??");
}

TEST(CodePage, NulBytesAndLongTextsPassWhole) {
    const std::string withNul("a\0b", 3);
    EXPECT_EQ(Cp1251ToUtf8(withNul), withNul);
    const std::string longText(100000, '\xC0');
    const std::string converted = Cp1251ToUtf8(longText);
    EXPECT_EQ(converted.size(), 200000u);
    EXPECT_EQ(Utf8ToCp1251(converted), longText);
}
