// The private-profile text: how a file of sections and keys reads, and how one
// key is written without disturbing anything else.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "database/ProfileText.h"

namespace {

std::string ReadOr(const ProfileText& text, const char* section, const char* key,
                   const char* absent = "<absent>") {
    return text.Read(section, key).value_or(absent);
}

}  // namespace

// --- Reading: names, blanks, quotes, comments ---

TEST(ProfileTextRead, NamesMatchWithoutCaseAndBlanksAroundThemAreDropped) {
    const ProfileText text("[ Configuration ]\r\n  LANGUAGE \t=  en \t\r\n");
    EXPECT_EQ(ReadOr(text, "configuration", "language"), "en");
    EXPECT_EQ(ReadOr(text, "CONFIGURATION", "Language"), "en");
    EXPECT_TRUE(text.HasSection("Configuration"));
}

TEST(ProfileTextRead, AbsentKeyIsToldFromPresentEmptyValue) {
    const ProfileText text("[S]\nEmpty=\nBlank=   \n");
    EXPECT_EQ(text.Read("S", "Empty"), std::optional<std::string>(""));
    EXPECT_EQ(text.Read("S", "Blank"), std::optional<std::string>(""));
    EXPECT_EQ(text.Read("S", "Missing"), std::nullopt);
    EXPECT_EQ(text.Read("Other", "Empty"), std::nullopt);
}

TEST(ProfileTextRead, OneMatchingPairOfQuotesIsTakenOff) {
    const ProfileText text(
        "[S]\nA=\"x y\"\nB='y'\nC=\"z'\nD=\"\"q\"\"\nE=\"\nF= ' padded ' \nG=\"\"\n");
    EXPECT_EQ(ReadOr(text, "S", "A"), "x y");
    EXPECT_EQ(ReadOr(text, "S", "B"), "y");
    EXPECT_EQ(ReadOr(text, "S", "C"), "\"z'");
    EXPECT_EQ(ReadOr(text, "S", "D"), "\"q\"");
    EXPECT_EQ(ReadOr(text, "S", "E"), "\"");
    EXPECT_EQ(ReadOr(text, "S", "F"), " padded ");
    EXPECT_EQ(ReadOr(text, "S", "G"), "");
}

TEST(ProfileTextRead, CommentLinesAreSkippedButSemicolonsInValuesStay) {
    const ProfileText text("; [S]\n[S]\n;A=1\n  ;B=2\nC=3 ; kept\n");
    EXPECT_EQ(ReadOr(text, "S", "A"), "<absent>");
    EXPECT_EQ(ReadOr(text, "S", "B"), "<absent>");
    EXPECT_EQ(ReadOr(text, "S", "C"), "3 ; kept");
}

TEST(ProfileTextRead, LongValueIsCutAt2047Characters) {
    const std::string value(5000, 'v');
    const ProfileText text("[S]\nK=" + value + "\nNext=1\n");
    EXPECT_EQ(ReadOr(text, "S", "K"), value.substr(0, 2047));
    EXPECT_EQ(ReadOr(text, "S", "Next"), "1");
}

TEST(ProfileTextRead, LineEndsAndByteOrderMarkDoNotReachNamesOrValues) {
    const ProfileText crlf("\xEF\xBB\xBF[S]\r\nA=1\r\nB=2");
    EXPECT_EQ(ReadOr(crlf, "S", "A"), "1");
    EXPECT_EQ(ReadOr(crlf, "S", "B"), "2");
    const ProfileText lf("[S]\nA=1\nB=2\r");
    EXPECT_EQ(ReadOr(lf, "S", "A"), "1");
    EXPECT_EQ(ReadOr(lf, "S", "B"), "2");
}

TEST(ProfileTextRead, FirstBlockOfASectionAndFirstLineOfAKeyWin) {
    const ProfileText text("[S]\nA=first\nA=second\n[T]\nX=1\n[s]\nA=third\nB=late\n");
    EXPECT_EQ(ReadOr(text, "S", "A"), "first");
    EXPECT_EQ(ReadOr(text, "S", "B"), "<absent>");
}

TEST(ProfileTextRead, LinesOutsideAValidSectionBelongToNone) {
    const ProfileText text("Top=1\n[S]\nA=1\nno equals sign\n[Broken\nA=2\nB=2\n");
    EXPECT_EQ(ReadOr(text, "S", "A"), "1");
    EXPECT_EQ(ReadOr(text, "S", "B"), "<absent>");
    EXPECT_FALSE(text.HasSection("Broken"));
    EXPECT_EQ(ReadOr(text, "", "Top"), "<absent>");
}

TEST(ProfileTextRead, CyrillicBytesAndNulBytesPassThrough) {
    const std::string value("\xCE\xE1\xEE\xF0\xEE\xF2\xFB\0x", 9);
    const ProfileText text("[S]\nName=" + value + "\n");
    EXPECT_EQ(ReadOr(text, "S", "Name"), value);
}

// --- Writing one key ---

TEST(ProfileTextSet, RewritesOnlyTheValueOfThatLine) {
    ProfileText text("; top\r\n[Configuration]\r\nLanguage = \"ru\"  \r\nOther=1\r\n");
    EXPECT_TRUE(text.Set("configuration", "LANGUAGE", "EN"));
    EXPECT_EQ(text.Bytes(), "; top\r\n[Configuration]\r\nLanguage = EN  \r\nOther=1\r\n");
}

TEST(ProfileTextSet, AddsAMissingKeyAfterTheLastKeyOfItsSection) {
    ProfileText crlf("[Configuration]\r\nA=1\r\n\r\n; about B\r\n[B]\r\n");
    EXPECT_TRUE(crlf.Set("Configuration", "Language", "RU"));
    EXPECT_EQ(crlf.Bytes(), "[Configuration]\r\nA=1\r\nLanguage=RU\r\n\r\n; about B\r\n[B]\r\n");

    ProfileText lf("[B]\n[Configuration]");
    EXPECT_TRUE(lf.Set("Configuration", "Language", "EN"));
    EXPECT_EQ(lf.Bytes(), "[B]\n[Configuration]\nLanguage=EN");
}

TEST(ProfileTextSet, AppendsAMissingSectionAtTheEndInTheTextsLineEnds) {
    ProfileText lf("[A]\nk=v");
    EXPECT_TRUE(lf.Set("Configuration", "Language", "RU"));
    EXPECT_EQ(lf.Bytes(), "[A]\nk=v\n\n[Configuration]\nLanguage=RU\n");

    ProfileText empty;
    EXPECT_TRUE(empty.Set("Configuration", "Language", "RU"));
    EXPECT_EQ(empty.Bytes(), "[Configuration]\r\nLanguage=RU\r\n");
}

// A lone CR ending the file must not become part of the value above it.
TEST(ProfileTextSet, CompletesALoneCarriageReturnAtTheEnd) {
    ProfileText text("[S]\nA=1\r");
    EXPECT_TRUE(text.Set("S", "B", "2"));
    EXPECT_EQ(ReadOr(text, "S", "A"), "1");
    EXPECT_EQ(ReadOr(text, "S", "B"), "2");
}

TEST(ProfileTextSet, AValueThatAlreadyReadsTheSameChangesNothing) {
    ProfileText text("[Configuration]\r\nlanguage = 'RU'\r\n");
    const std::string before = text.Bytes();
    EXPECT_FALSE(text.Set("CONFIGURATION", "Language", "RU"));
    EXPECT_EQ(text.Bytes(), before);
}

TEST(ProfileTextSet, QuotesValuesThatReadingWouldOtherwiseChange) {
    ProfileText text;
    for (const char* value : {" lead", "trail ", "\"q\"", "'q'", "\"", "plain"}) {
        text.Set("S", "K", value);
        EXPECT_EQ(ReadOr(text, "S", "K"), value);
    }
}

TEST(ProfileTextSet, RefusesWhatCouldNotBeReadBack) {
    EXPECT_TRUE(ProfileText::CanStore("Configuration", "Language", "EN"));
    EXPECT_FALSE(ProfileText::CanStore("Configuration", "Language", "EN\r\n[Evil]"));
    EXPECT_FALSE(ProfileText::CanStore("A]B", "Language", "EN"));
    EXPECT_FALSE(ProfileText::CanStore("", "Language", "EN"));
    EXPECT_FALSE(ProfileText::CanStore(" S", "Language", "EN"));
    EXPECT_FALSE(ProfileText::CanStore("S", "a=b", "EN"));
    EXPECT_FALSE(ProfileText::CanStore("S", ";k", "EN"));
    EXPECT_FALSE(ProfileText::CanStore("S", "[k", "EN"));
    EXPECT_FALSE(ProfileText::CanStore("S", "K", std::string(2048, 'v')));
}

// --- Hostile input ---

TEST(ProfileTextHostile, HugeLinesAndManySectionsIndexWhole) {
    const std::string mebibyte(1 << 20, 'a');
    const ProfileText longLine("[S]\nK=" + mebibyte + "\n[" + mebibyte + "\nK=2\n");
    EXPECT_EQ(longLine.Read("S", "K")->size(), ProfileText::MaxValueLength);

    std::string many;
    for (int i = 0; i < 10000; ++i)
        many += "[" + std::to_string(i) + "]\nK=" + std::to_string(i) + "\n";
    const ProfileText sections(many);
    EXPECT_EQ(ReadOr(sections, "0", "K"), "0");
    EXPECT_EQ(ReadOr(sections, "9999", "K"), "9999");

    std::string unclosed;
    for (int i = 0; i < 10000; ++i) unclosed += "[never closed " + std::to_string(i) + "\nK=v\n";
    EXPECT_FALSE(ProfileText(unclosed).HasSection("never closed 1"));
}

TEST(ProfileTextHostile, RandomBytesAndNulsReadAndEditSafely) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(random() % 4096, '\0');
        for (char& c : bytes) {
            // Mostly the characters the syntax cares about, so lines do form.
            const char syntax[] = "[]=;\r\n \t\"'\0aK0";
            c = random() % 2 ? syntax[random() % (sizeof syntax - 1)] : char(random());
        }
        ProfileText text(bytes);
        (void)text.Read("a", "K");
        ASSERT_TRUE(ProfileText::CanStore("a", "K", "value"));
        text.Set("a", "K", "value");
        EXPECT_EQ(ReadOr(text, "a", "K"), "value") << "round " << round;
    }
}
