// Reading the CSV logs the tool writes: dialects, columns by heading, cells of
// every kind, rows that cannot be read, files that are no log, the row limit,
// the time column (midnight, a clock put back) and the cursor's row; and logs
// written by the tool itself read back to their numbers.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "database/ValueText.h"
#include "presentation/LiveCsv.h"
#include "support/ScratchFolder.h"
#include "window/LiveLog.h"
#include "window/LogReader.h"

namespace {

struct Read {
    LogTable Table;
    std::optional<LogFault> Fault;
    std::size_t Skipped = 0;
    std::optional<LogSkip> FirstSkip;
    char Separator = 0;
};

// Reads a text handed over in pieces of `piece` bytes (all at once for 0).
Read ReadText(std::string_view text, std::size_t piece = 0, std::size_t mostRows = MaxLogRows) {
    Read read;
    LogReader reader(read.Table, mostRows);
    if (piece == 0) piece = text.size() + 1;
    for (std::size_t at = 0; at < text.size(); at += piece) reader.Take(text.substr(at, piece));
    reader.Finish();
    read.Fault = reader.Fault();
    read.Skipped = reader.Skipped();
    read.FirstSkip = reader.FirstSkip();
    read.Separator = reader.Separator();
    return read;
}

std::vector<double> ValuesOf(const LogTable& table, std::size_t column) {
    return table.Columns().at(column).Values;
}

LogMillis At(std::string_view text) {
    return ParseLogTime(text).value();
}

constexpr std::string_view Bom = "\xEF\xBB\xBF";

}  // namespace

// --- Dialects and headings ---

TEST(LogReader, ReadsEveryDialectTheToolWritesToTheSameNumbers) {
    struct Case {
        std::string Text;
        char Separator;
    };
    const std::string comma =
        "time,NMOT [rpm],TMOT [\xC2\xB0"
        "C]\n2026-12-08T10:15:30.125,1250.5,-3.25\n"
        "2026-12-08T10:15:30.345,0,1.5E20\n";
    const std::string semicolon =
        "time;NMOT [rpm];TMOT [\xC2\xB0"
        "C]\n2026-12-08T10:15:30.125;1250,5;-3,25\n"
        "2026-12-08T10:15:30.345;0;1,5E20\n";
    std::string crlf = semicolon;
    for (std::size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2))
        crlf.insert(at, "\r");
    const Case cases[] = {{comma, ','},
                          {std::string(Bom) + comma, ','},
                          {std::string(Bom) + semicolon, ';'},
                          {semicolon, ';'},
                          {crlf, ';'}};
    for (const Case& c : cases) {
        for (const std::size_t piece : {std::size_t{0}, std::size_t{1}, std::size_t{7}}) {
            SCOPED_TRACE(c.Text + " in pieces of " + std::to_string(piece));
            const Read read = ReadText(c.Text, piece);
            ASSERT_FALSE(read.Fault);
            EXPECT_EQ(read.Separator, c.Separator);
            EXPECT_EQ(read.Skipped, 0u);
            ASSERT_EQ(read.Table.Rows(), 2u);
            ASSERT_EQ(read.Table.Columns().size(), 2u);
            EXPECT_EQ(read.Table.Columns()[1].Code, "TMOT");
            EXPECT_EQ(read.Table.Columns()[1].Unit, "\xC2\xB0\x43");
            EXPECT_EQ(ValuesOf(read.Table, 0), (std::vector<double>{1250.5, 0}));
            EXPECT_EQ(ValuesOf(read.Table, 1), (std::vector<double>{-3.25, 1.5e20}));
            EXPECT_EQ(read.Table.WrittenTime(1), At("2026-12-08T10:15:30.345"));
        }
    }
}

TEST(LogReader, FindsColumnsByHeadingWhereverTheyStand) {
    struct Case {
        std::string Text;
        std::vector<std::string> Codes, Units;
        std::vector<double> Values;
    };
    const Case cases[] = {
        // The time column moved into the middle.
        {"A [x],time,B\n1,2026-01-01T00:00:00.000,2\n", {"A", "B"}, {"x", ""}, {1, 2}},
        // A heading holding the separator and a quote is quoted, as LiveCsv quotes it.
        {"time,\"P,Q [\"\"bar\"\"]\",R [a [b]]\n2026-01-01T00:00:00,3,4\n",
         {"P,Q", "R [a"},
         {"\"bar\"", "b]"},
         {3, 4}},
        // In the semicolon dialect a comma in a heading needs no quotes.
        {"N,M [u];time\n5,5;2026-01-01T00:00:00.5\n", {"N,M"}, {"u"}, {5.5}},
        // Fewer columns than the tool writes, one without a heading.
        {"time,a,\n2026-01-01T00:00:00,1,2\n", {"a", ""}, {"", ""}, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const Read read = ReadText(c.Text);
        ASSERT_FALSE(read.Fault);
        ASSERT_EQ(read.Table.Rows(), 1u);
        ASSERT_EQ(read.Table.Columns().size(), c.Codes.size());
        for (std::size_t i = 0; i < c.Codes.size(); ++i) {
            EXPECT_EQ(read.Table.Columns()[i].Code, c.Codes[i]);
            EXPECT_EQ(read.Table.Columns()[i].Unit, c.Units[i]);
            EXPECT_EQ(read.Table.Columns()[i].Values.at(0), c.Values[i]);
        }
    }
}

TEST(LogReader, KeepsGapsAndMarkedValuesApart) {
    const Read read = ReadText(
        "time;a;b\n"
        "2026-01-01T00:00:00;;NAN\n"
        "2026-01-01T00:00:01;INF;1\n"
        "2026-01-01T00:00:02;-INF;\n"
        "2026-01-01T00:00:03;2,5;NAN\n");
    ASSERT_FALSE(read.Fault);
    EXPECT_EQ(read.Skipped, 0u);
    const LogColumn& a = read.Table.Columns()[0];
    const LogColumn& b = read.Table.Columns()[1];
    const std::vector<LogCell> cellsA{LogCell::Gap, LogCell::PlusInfinity, LogCell::MinusInfinity,
                                      LogCell::Number};
    const std::vector<LogCell> cellsB{LogCell::NotANumber, LogCell::Number, LogCell::Gap,
                                      LogCell::NotANumber};
    for (LogRow row = 0; row < 4; ++row) {
        EXPECT_EQ(a.Cell(row), cellsA[row]) << row;
        EXPECT_EQ(b.Cell(row), cellsB[row]) << row;
    }
    EXPECT_EQ(a.Missing, (std::vector<LogRow>{0, 1, 2}));
    EXPECT_EQ(b.Missing, (std::vector<LogRow>{0, 2, 3}));
    EXPECT_EQ(b.Marked[LogColumn::MarkIndex(LogCell::NotANumber)], (std::vector<LogRow>{0, 3}));
    EXPECT_EQ(a.Marked[LogColumn::MarkIndex(LogCell::MinusInfinity)], (std::vector<LogRow>{2}));
}

// --- Rows that cannot be read ---

TEST(LogReader, SkipsAndCountsRowsItCannotReadAndKeepsTheOthers) {
    struct Case {
        std::string Row;  // put between two good rows, as line 3
        LogSkip::Kind What;
        std::size_t Field;
    };
    const Case cases[] = {
        {"2026-01-01T00:00:01,1", LogSkip::Kind::Fields, 2},
        {"2026-01-01T00:00:01,1,2,3", LogSkip::Kind::Fields, 4},
        {"2026-01-01T00:00:01,\"1,2", LogSkip::Kind::Fields, 1},
        {"2026-01-01T00:00:01,1x,2", LogSkip::Kind::Number, 2},
        {"2026-01-01T00:00:01,+1,2", LogSkip::Kind::Number, 2},
        {"2026-01-01T00:00:01,1E999,2", LogSkip::Kind::Number, 2},
        {"2026-13-01T00:00:01,1,2", LogSkip::Kind::Time, 1},
        {"2026-02-29T00:00:01,1,2", LogSkip::Kind::Time, 1},
        {"2026-01-01T24:00:00,1,2", LogSkip::Kind::Time, 1},
        {"2026-01-01T00:00:01Z,1,2", LogSkip::Kind::Time, 1},
        {",1,2", LogSkip::Kind::Time, 1},
        {std::string(LogReader::MaxLineBytes + 10, '7'), LogSkip::Kind::TooLong, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Row.substr(0, 60));
        const std::string text =
            "time,a,b\n2026-01-01T00:00:00,1,2\n" + c.Row + "\n\n2026-01-01T00:00:02,5,6\n";
        for (const std::size_t piece : {std::size_t{0}, std::size_t{5}}) {
            const Read read = ReadText(text, piece);
            ASSERT_FALSE(read.Fault);
            EXPECT_EQ(read.Skipped, 1u);
            ASSERT_TRUE(read.FirstSkip);
            EXPECT_EQ(read.FirstSkip->What, c.What);
            EXPECT_EQ(read.FirstSkip->Line, 3u);
            EXPECT_EQ(read.FirstSkip->Field, c.Field);
            EXPECT_EQ(ValuesOf(read.Table, 1), (std::vector<double>{2, 6}));
        }
    }
}

TEST(LogReader, ALastLineWithoutItsEndIsSkippedAsPerhapsCutShort) {
    const Read read = ReadText("time,a\n2026-01-01T00:00:00,1\n2026-01-01T00:00:01,12.3");
    EXPECT_EQ(read.Table.Rows(), 1u);
    EXPECT_EQ(read.Skipped, 1u);
    EXPECT_EQ(read.FirstSkip->What, LogSkip::Kind::NoLineEnd);
    EXPECT_EQ(read.FirstSkip->Line, 3u);
}

// --- Files that are no log ---

TEST(LogReader, RefusesAFileThatIsNoLogAtItsFirstLine) {
    struct Case {
        std::string Text;
        LogFault::Kind What;
        std::string Excerpt;
    };
    const Case cases[] = {
        {"", LogFault::Kind::Empty, ""},
        {std::string(Bom), LogFault::Kind::Empty, ""},
        {"\n", LogFault::Kind::NotAHeader, ""},
        {"timestamp,a\n2026-01-01T00:00:00,1\n", LogFault::Kind::NotAHeader, "timestamp,a"},
        {"time\n2026-01-01T00:00:00\n", LogFault::Kind::NotAHeader, "time"},
        {"time,\"a\n", LogFault::Kind::NotAHeader, "time,\"a"},
        {std::string("PK\x03\x04\xFF\xFE time,", 12) + '\0' + "x\n", LogFault::Kind::NotAHeader,
         "PK???? time,?x"},
        {std::string(Bom) + std::string(100, 'x'), LogFault::Kind::NotAHeader,
         std::string(40, 'x') + "..."},
        {std::string(LogReader::MaxLineBytes + 1, ';'), LogFault::Kind::NotAHeader,
         std::string(40, ';') + "..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text.substr(0, 60));
        const Read read = ReadText(c.Text);
        ASSERT_TRUE(read.Fault);
        EXPECT_EQ(read.Fault->What, c.What);
        EXPECT_EQ(read.Fault->Line, 1u);
        EXPECT_EQ(read.Fault->Excerpt, c.Excerpt);
        EXPECT_EQ(read.Table.Columns().size(), 0u);
    }
}

TEST(LogReader, AHeaderWithoutRowsIsALogWithoutRows) {
    for (const std::string text : {"time,a [V]\n", "time,a [V]", "\xEF\xBB\xBFtime;a [V]\r\n"}) {
        const Read read = ReadText(text);
        ASSERT_FALSE(read.Fault) << text;
        EXPECT_EQ(read.Table.Rows(), 0u);
        ASSERT_EQ(read.Table.Columns().size(), 1u);
        EXPECT_EQ(read.Table.Columns()[0].Unit, "V");
        EXPECT_FALSE(read.Table.RowAt(0));
    }
}

TEST(LogReader, RefusesMoreRowsThanTheLimitAndKeepsNothing) {
    std::string text = "time,a\n";
    for (int i = 0; i < 4; ++i) text += "2026-01-01T00:00:0" + std::to_string(i) + ",1\n";
    const Read three = ReadText(text.substr(0, text.rfind("2026")), 0, 3);
    EXPECT_FALSE(three.Fault);
    EXPECT_EQ(three.Table.Rows(), 3u);
    // Unreadable rows count as rows too.
    const Read four = ReadText(text + "bad\n", 0, 3);
    ASSERT_TRUE(four.Fault);
    EXPECT_EQ(four.Fault->What, LogFault::Kind::TooManyRows);
    EXPECT_EQ(four.Fault->Line, 5u);
    EXPECT_EQ(four.Fault->MostRows, 3u);
    EXPECT_EQ(four.Table.Rows(), 0u);

    // Twice the tool's columns: half the rows.
    std::string wide = "time";
    for (int i = 0; i < 32; ++i) wide += ",c" + std::to_string(i);
    wide += "\n";
    for (int i = 0; i < 3; ++i) wide += "2026-01-01T00:00:00" + std::string(32, ',') + "\n";
    const Read halved = ReadText(wide, 0, 4);
    ASSERT_TRUE(halved.Fault);
    EXPECT_EQ(halved.Fault->MostRows, 2u);
    EXPECT_EQ(halved.Fault->Line, 4u);
}

TEST(LogReader, AFileThatCannotBeReadIsSaidSo) {
    ScratchFolder folder;
    LogTable table;
    EXPECT_FALSE(ReadLogFile(folder / "missing.csv", table).Unreadable.empty());
    EXPECT_FALSE(ReadLogFile(folder.Path(), table).Unreadable.empty());
    WriteBytes(folder / "log.csv", "time,a\n2026-01-01T00:00:00,1\nx\n");
    const LogFileRead read = ReadLogFile(folder / "log.csv", table);
    EXPECT_TRUE(read.Unreadable.empty());
    EXPECT_EQ(read.Skipped, 1u);
    EXPECT_EQ(table.Rows(), 1u);
}

// --- Times ---

TEST(LogTime, ReadsTheTimeColumnAsWrittenWithoutAZone) {
    EXPECT_EQ(ParseLogTime("1970-01-01T00:00:00"), 0);
    EXPECT_EQ(ParseLogTime("1970-01-02T01:02:03.4"), LogMillisPerDay + 3723400);
    EXPECT_EQ(ParseLogTime("1969-12-31T23:59:59.99"), -10);
    EXPECT_EQ(At("2028-02-29T00:00:00") - At("2028-02-28T00:00:00"), LogMillisPerDay);
    for (const char* bad :
         {"2026-12-08T10:15:30.", "2026-12-08T10:15:30.1234", "2026-12-8T10:15:30",
          "2026-12-08T10:15:60", "2026-12-08T10:60:00", "2026-04-31T00:00:00",
          "2026-00-01T00:00:00", "+026-12-08T10:15:30", "2026-12-08T10:15:3a"})
        EXPECT_FALSE(ParseLogTime(bad)) << bad;
    const LogMillis time = At("2026-12-08T07:05:09.045");
    EXPECT_EQ(LogTimeOfDay(time), "07:05:09");
    EXPECT_EQ(LogTimeOfDay(time, true), "07:05:09.045");
    EXPECT_EQ(LogDate(time), "2026-12-08");
    EXPECT_EQ(LogDate(-1), "1969-12-31");
    EXPECT_EQ(LogTimeOfDay(-1, true), "23:59:59.999");
}

TEST(LogTable, ALogOverMidnightNeedsTheDate) {
    const Read day = ReadText("time,a\n2026-12-08T00:00:00,1\n2026-12-08T23:59:59.999,2\n");
    EXPECT_FALSE(day.Table.SpansMidnight());
    const Read night = ReadText("time,a\n2026-12-31T23:59:59.900,1\n2027-01-01T00:00:00.120,2\n");
    EXPECT_TRUE(night.Table.SpansMidnight());
    EXPECT_EQ(night.Table.AxisTime(1) - night.Table.AxisTime(0), 220);
    EXPECT_EQ(LogDate(night.Table.WrittenTime(1)), "2027-01-01");
}

TEST(LogTable, TimeThatRunsBackwardsKeepsTheRowsAndMarksTheJump) {
    const Read read = ReadText(
        "time,a\n"
        "2026-10-25T02:59:59.800,1\n"
        "2026-10-25T03:00:00.020,2\n"
        "2026-10-25T02:00:00.240,3\n"
        "2026-10-25T02:00:00.460,4\n"
        "2026-10-25T01:00:00.000,5\n");
    const LogTable& table = read.Table;
    ASSERT_EQ(table.Rows(), 5u);
    EXPECT_EQ(ValuesOf(table, 0), (std::vector<double>{1, 2, 3, 4, 5}));
    ASSERT_EQ(table.Jumps().size(), 2u);
    EXPECT_EQ(table.Jumps()[0].Row, 2u);
    EXPECT_EQ(table.Jumps()[0].Before, At("2026-10-25T03:00:00.020"));
    EXPECT_EQ(table.Jumps()[0].After, At("2026-10-25T02:00:00.240"));
    EXPECT_EQ(table.Jumps()[1].Row, 4u);
    // The axis carries on from the row before each jump; the written times stay.
    const std::vector<LogMillis> axis{0, 220, 220, 440, 440};
    for (LogRow row = 0; row < 5; ++row) {
        EXPECT_EQ(table.AxisTime(row) - table.AxisTime(0), axis[row]) << row;
    }
    EXPECT_EQ(table.WrittenTime(3), At("2026-10-25T02:00:00.460"));
    EXPECT_EQ(table.WrittenTime(4), At("2026-10-25T01:00:00.000"));
    const LogMillis jump = table.AxisTime(2);
    EXPECT_EQ(table.WrittenTimeAt(jump), At("2026-10-25T03:00:00.020"));
    EXPECT_EQ(table.WrittenTimeAt(jump + 1), At("2026-10-25T02:00:00.241"));
    EXPECT_EQ(table.Whole().To - table.Whole().From, 441);

    // The cursor: the nearer row, the earlier when as near; left of a jump
    // the row before it, on it the row after it.
    const LogMillis start = table.AxisTime(0);
    const std::vector<std::pair<LogMillis, LogRow>> cursor{
        {start - 1000, 0}, {start + 109, 0}, {start + 110, 0}, {start + 111, 1}, {start + 220, 2},
        {start + 330, 2},  {start + 331, 3}, {start + 440, 4}, {start + 9999, 4}};
    for (const auto& [time, row] : cursor) EXPECT_EQ(table.RowAt(time), row) << time - start;
    EXPECT_EQ(table.RowsIn({start + 220, start + 440}).First, 1u);
    EXPECT_EQ(table.RowsIn({start + 220, start + 440}).Last, 3u);
}

// --- Logs the tool wrote ---

TEST(LogReader, ALogWrittenByTheToolReadsBackToItsNumbers) {
    ParameterSets::Definitions definitions{};
    for (std::size_t i = 0; i < SlotCount; ++i) {
        definitions[i].CodeEn = "P" + std::to_string(i);
        definitions[i].UnitRu = i % 3 == 0 ? "" : "km/h";
        definitions[i].Digits = static_cast<std::uint8_t>(i % 4);
    }
    ParameterSets sets(definitions);
    constexpr int Rows = 50;
    const auto start = std::chrono::system_clock::now();
    // Each row's values; slots past a refused selection are left empty.
    const auto setRow = [&](int row) {
        sets.Selection.Accepted = row % 10 == 9 ? 12 : SlotCount;
        for (std::size_t slot = 0; slot < SlotCount; ++slot)
            sets.Values[slot] =
                (row * 37.0 + slot) / 7.0 * (slot % 2 ? -1 : 1) * std::pow(10.0, slot % 5);
        return start + std::chrono::milliseconds(220 * row);
    };
    const auto check = [&](const LogTable& table) {
        ASSERT_EQ(table.Rows(), std::size_t{Rows});
        ASSERT_EQ(table.Columns().size(), std::size_t{SlotCount});
        for (int row = 0; row < Rows; ++row) {
            setRow(row);
            for (std::size_t slot = 0; slot < SlotCount; ++slot) {
                const LogColumn& column = table.Columns()[slot];
                EXPECT_EQ(column.Code, definitions[slot].CodeEn);
                EXPECT_EQ(column.Unit, definitions[slot].UnitRu);
                // The value as written, read back.
                const std::string text = ValueText(sets.Values[slot], definitions[slot].Digits);
                double written = 0;
                std::from_chars(text.data(), text.data() + text.size(), written);
                if (ShownValue(sets, static_cast<int>(slot)))
                    EXPECT_EQ(column.Values[row], written) << slot << " " << row;
                else
                    EXPECT_EQ(column.Cell(row), LogCell::Gap);
            }
        }
        EXPECT_EQ(table.AxisTime(Rows - 1) - table.AxisTime(0), (Rows - 1) * 220);
    };
    for (const CsvStyle& style :
         {CsvStyle{',', '.', false}, CsvStyle{';', ',', true}, CsvStyle{',', '.', true}}) {
        SCOPED_TRACE(style.Separator);
        std::string text = CsvStart(style) + CsvHeader(sets.Slots, style);
        for (int row = 0; row < Rows; ++row) text += CsvRow(sets, CsvTime(setRow(row)), style);
        const Read read = ReadText(text, 4096);
        ASSERT_FALSE(read.Fault);
        EXPECT_EQ(read.Skipped, 0u);
        check(read.Table);
    }
    // The window's log file.
    ScratchFolder folder;
    LiveLog log;
    ASSERT_TRUE(log.Start(folder.Path(), 0, sets.Slots, start));
    for (int row = 0; row < Rows; ++row) ASSERT_TRUE(log.Write(sets, setRow(row)));
    log.Stop();
    LogTable table;
    const LogFileRead read = ReadLogFile(log.Path(), table);
    ASSERT_TRUE(read.Unreadable.empty() && !read.Fault && read.Skipped == 0);
    check(table);
}
