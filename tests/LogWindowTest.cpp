// The log viewer as either window shows it: a log opened alone with the
// names and ranges of a database.ini that is only read, the cursor's values
// and each column's extremes over the span in the legend, the keys and the
// mouse that move along the log, and a file that is no log said in one box.

#include <gmock/gmock.h>

#include <algorithm>
#include <string>

#include "support/RecordingView.h"
#include "support/ScratchFolder.h"
#include "window/CellLook.h"
#include "window/LogWindow.h"

using ::testing::HasSubstr;

namespace {

// NMOT with its range, an "Address" the window could not convert, and TL
// without a range.
constexpr const char* Definitions =
    "[Configuration]\r\nLanguage=EN\r\n"
    "[0000]\r\nCodeEn=NMOT\r\nNameEn=Engine speed\r\nUnitEn=rpm\r\nAddress=XYZ\r\n"
    "Digits=0\r\nMin=0\r\nMax=3000\r\n"
    "[0001]\r\nCodeEn=TL\r\nNameEn=Load\r\nUnitEn=%\r\nAddress=0102\r\nDigits=1\r\n";

// Ten rows a second apart over midnight; NMOT leaves its range at row 7.
std::string DayLog() {
    std::string log = "time,NMOT [rpm],TL [%],A [V],B [V],C [V]\n";
    for (int row = 0; row < 10; ++row) {
        const int second = 55 + row;
        const std::string time = second < 60 ? "2026-12-08T23:59:" + std::to_string(second)
                                             : "2026-12-09T00:00:0" + std::to_string(second - 60);
        log += time + ".000," + std::to_string(row == 7 ? 3500 : 1000 + 100 * row) + "," +
               std::to_string(row) + ".5,1,2,3\n";
    }
    return log;
}

class LogViewer : public ::testing::Test {
protected:
    LogViewer() {
        WriteBytes(folder / "database.ini", Definitions);
        WriteBytes(folder / "day.csv", DayLog());
    }
    std::unique_ptr<LogWindow> OpenAlone(const std::string& name = "day.csv") {
        return OpenLogAlone(view, folder.Path(), folder / name, ".");
    }
    // The legend's line of the n-th chosen column: below the span's line.
    static std::string Legend(const TrendPicture& picture, std::size_t n) {
        std::vector<const TrendText*> legend;
        for (const TrendText& text : picture.Labels)
            if (text.At.Y < 8 + TrendLineHeight * 6) legend.push_back(&text);
        std::sort(legend.begin(), legend.end(),
                  [](const TrendText* a, const TrendText* b) { return a->At.Y < b->At.Y; });
        return n < legend.size() ? legend[n]->Text : std::string();
    }

    ScratchFolder folder;
    RecordingView view;
};

TEST_F(LogViewer, OpensAloneWithTheNamesAndRangesOfADatabaseIniItNeverWrites) {
    const auto log = OpenAlone();
    ASSERT_TRUE(log);
    EXPECT_TRUE(view.LogMessages.empty());
    EXPECT_EQ(view.TrendTexts[0], "Log - day.csv");
    EXPECT_EQ(view.TrendNames, std::vector<std::string>(
                                   {"NMOT  Engine speed", "TL  Load", "A [V]", "B [V]", "C [V]"}));
    EXPECT_EQ(log->Chosen(), std::vector<int>({0, 1, 2, 3}));
    EXPECT_EQ(view.LogBackCaption, "");  // nothing live to go back to
    EXPECT_FALSE(view.PeriodShown);
    EXPECT_EQ(ReadBytes(folder / "database.ini"), Definitions);

    const TrendPicture picture = log->Plot(600, 400);
    // NMOT on its range, TL fitted to its values; the whole log on view.
    EXPECT_THAT(Legend(picture, 0), HasSubstr("2026-12-08 23:59:55 .. 2026-12-09 00:00:04"));
    EXPECT_THAT(Legend(picture, 1), HasSubstr("NMOT  0 .. 3000 rpm   min 1000  max 3500"));
    EXPECT_THAT(Legend(picture, 2), HasSubstr("TL  0.5 .. 9.5 %"));
    // The one value out of range is marked, at the plot's top.
    const auto warnings =
        std::count_if(picture.Marks.begin(), picture.Marks.end(),
                      [](const TrendMark& m) { return m.Colour == WarningColour(); });
    EXPECT_EQ(warnings, 1);
    // The axis spans midnight: its labels carry the dates.
    const auto dated = [&](const char* date) {
        return std::any_of(picture.Labels.begin(), picture.Labels.end(),
                           [&](const TrendText& t) { return t.Text == date; });
    };
    EXPECT_TRUE(dated("2026-12-08") && dated("2026-12-09"));
    EXPECT_EQ(picture.Runs.size() + picture.Curves.size(), 4u);  // unbroken, and no cursor yet
}

// A clock put back: the rows keep their order, and the jump is marked where
// it happened with the time it went back to.
TEST_F(LogViewer, WhereTheTimeRunsBackwardsTheJumpIsMarked) {
    WriteBytes(folder / "back.csv",
               "time,NMOT [rpm]\n2026-12-08T11:00:00,1\n"
               "2026-12-08T11:00:01,2\n2026-12-08T10:00:00,3\n"
               "2026-12-08T10:00:01,4\n");
    const auto log = OpenAlone("back.csv");
    ASSERT_TRUE(log);
    const TrendPicture picture = log->Plot(600, 400);
    const CellColour jump{false, 255, 140, 0};
    EXPECT_EQ(std::count_if(picture.Grid.begin(), picture.Grid.end(),
                            [&](const TrendLine& line) { return line.Colour == jump; }),
              1);
    EXPECT_TRUE(std::any_of(picture.Labels.begin(), picture.Labels.end(), [&](const TrendText& t) {
        return t.Colour == jump && t.Text == "< 10:00:00";
    }));
    EXPECT_THAT(Legend(picture, 0), HasSubstr("11:00:00.000 .. 10:00:01.000"));
}

TEST_F(LogViewer, TheCursorReadsEveryChosenColumnAtItsRowAndTheKeysMoveAlongTheLog) {
    const auto log = OpenAlone();
    ASSERT_TRUE(log);
    log->Plot(600, 400);  // the plot's place, for the mouse
    const LogSpan whole = log->Span();
    // A click: a press and release without a move, a third of the way in.
    const int x = 8 + (600 - 16) * 3 / 10;
    log->Press(x);
    log->Release(x);
    ASSERT_EQ(log->Cursor(), LogRow{3});
    TrendPicture picture = log->Plot(600, 400);
    EXPECT_THAT(Legend(picture, 0), HasSubstr("|   2026-12-08 23:59:58.000"));
    EXPECT_THAT(Legend(picture, 1), HasSubstr("= 1300 rpm"));
    EXPECT_THAT(Legend(picture, 2), HasSubstr("= 3.5 %"));
    EXPECT_EQ(picture.Curves.back().Colour, (CellColour{false, 255, 255, 255}));

    struct Step {
        int Key;
        bool Control;
        LogMillis Width;            // of the span after it
        std::optional<LogRow> Row;  // the cursor after it
    };
    const LogMillis all = whole.To - whole.From;
    const Step steps[] = {
        {LogKey::Right, false, all, 4},      {LogKey::Left, false, all, 3},
        {LogKey::Plus, false, all / 2, 3},   {LogKey::Add, false, all / 4, 3},
        {LogKey::Plus, false, 2'000, 3},     {LogKey::Plus, false, 2'000, 3},  // no narrower
        {LogKey::End, false, 2'000, 3},      {LogKey::Home, false, 2'000, 3},
        {LogKey::Right, true, 2'000, 3},     {LogKey::Minus, false, 4'000, 3},
        {LogKey::Subtract, false, 8'000, 3}, {LogKey::Minus, false, all, 3},
        {LogKey::Minus, false, all, 3},  // no wider
    };
    for (const Step& step : steps) {
        EXPECT_TRUE(log->Key(step.Key, step.Control)) << step.Key;
        EXPECT_EQ(log->Span().To - log->Span().From, step.Width) << step.Key;
        EXPECT_GE(log->Span().From, whole.From);
        EXPECT_LE(log->Span().To, whole.To);
        EXPECT_EQ(log->Cursor(), step.Row);
    }
    // A cursor stepped out of the span takes the span along.
    log->Key(LogKey::Plus, false);
    log->Key(LogKey::Home, false);
    for (int i = 0; i < 6; ++i) log->Key(LogKey::Right, false);
    EXPECT_EQ(log->Cursor(), LogRow{9});
    EXPECT_EQ(log->Span().To, whole.To);
    // The extremes are those of the span on view: rows 5 to 9 here.
    EXPECT_THAT(Legend(log->Plot(600, 400), 1), HasSubstr("min 1500  max 3500"));
    // A drag to the right goes back in time; it is no click.
    const LogSpan before = log->Span();
    log->Press(400);
    log->Drag(500);
    log->Release(500);
    EXPECT_LT(log->Span().From, before.From);
    EXPECT_EQ(log->Cursor(), LogRow{9});
    EXPECT_FALSE(log->Key(LogKey::O + 1, false));
}

TEST_F(LogViewer, AFileThatIsNoLogIsSaidInOneBoxAndTheLogOnViewStays) {
    struct Case {
        const char* Name;
        std::string Bytes;
        const char* Said;
    };
    const Case cases[] = {
        {"empty.csv", "", "the file is empty."},
        {"sheet.csv", "date,NMOT\n2026-12-08,1\n",
         "its header has no field \"time\".\nline 1: date,NMOT"},
        {"binary.csv",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         "line 1"},
    };
    const auto log = OpenAlone();
    ASSERT_TRUE(log);
    for (const Case& c : cases) {
        WriteBytes(folder / c.Name, c.Bytes);
        view.LogMessages.clear();
        view.LogFilePicked = folder / c.Name;
        EXPECT_TRUE(log->Key(LogKey::O, true));
        ASSERT_EQ(view.LogMessages.size(), 1u) << c.Name;
        EXPECT_THAT(view.LogMessages[0], HasSubstr("The file is no log: "));
        EXPECT_THAT(view.LogMessages[0], HasSubstr(c.Name));
        EXPECT_THAT(view.LogMessages[0], HasSubstr(c.Said));
        EXPECT_TRUE(log->Showing());
        EXPECT_EQ(view.TrendTexts[0], "Log - day.csv");
        EXPECT_EQ(log->Table().Rows(), 10u);
    }
    // Alone, a file that is no log (or none at all) opens no viewer.
    view.LogMessages.clear();
    EXPECT_FALSE(OpenAlone("sheet.csv"));
    EXPECT_FALSE(OpenAlone("missing.csv"));
    ASSERT_EQ(view.LogMessages.size(), 2u);
    EXPECT_THAT(view.LogMessages[1], HasSubstr("The log could not be opened: "));
    // Rows that cannot be read are counted and said, and the rest shows.
    WriteBytes(folder / "torn.csv",
               "time,NMOT [rpm]\n2026-12-08T10:00:00,1\nx,2\n"
               "2026-12-08T10:00:01,a\n2026-12-08T10:00:02,3\n");
    view.LogMessages.clear();
    const auto torn = OpenAlone("torn.csv");
    ASSERT_TRUE(torn);
    EXPECT_EQ(torn->Table().Rows(), 2u);
    ASSERT_EQ(view.LogMessages.size(), 1u);
    EXPECT_THAT(view.LogMessages[0], HasSubstr("Rows skipped: 2 (line 3"));
}

}  // namespace
