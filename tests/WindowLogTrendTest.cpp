// The window's log (F6), trend (F7) and range warnings, on scripted ports and
// on simulators: what the log file holds after ticks of every kind, when it
// ends, a write that fails; what the trend keeps and how it is drawn; which
// values are out of range.

#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <sstream>

#include "database/ParameterDef.h"
#include "platform/LocalTime.h"
#include "platform/RegularFile.h"
#include "support/BehaviourFixture.h"
#include "window/LogWindow.h"
#include "window/Trend.h"
#include "window/TrendCanvas.h"
#include "window/TrendPlacement.h"
#include "window/TrendPlot.h"
#ifndef _WIN32
#include "support/FileSizeLimit.h"
#include "support/TrendReads.h"
#endif

using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

namespace {

constexpr std::uint16_t EngineSpeed = 0x0100;          // NMOT, X/4 rpm, range 0 to 3000
constexpr std::uint16_t AtmosphericPressure = 0x011E;  // PATM, the second set's first

std::vector<std::string> Fields(const std::string& line, char separator = ',') {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
    return fields;
}

constexpr const char* ByteOrderMark = "\xEF\xBB\xBF";

template <typename Ecus>
class WindowLog : public BehaviourTest<Ecus> {
protected:
    WindowLog() { this->ecus.AddEcu("COM1"); }
    std::vector<std::filesystem::path> Logs() { return this->FilesIn("logs"); }
    // The lines of the only log.
    std::vector<std::string> LogLines() {
        const auto logs = Logs();
        EXPECT_EQ(logs.size(), 1u);
        std::vector<std::string> lines;
        if (logs.size() != 1) return lines;
        std::string text;
        EXPECT_EQ(ReadRegularFile(logs[0], text).Outcome, FileReadOutcome::Read);
        std::stringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    void FailReads(bool fail) {
        SimFaults faults;
        if (fail) faults.Unanswered = {0x84};
        this->ecus.SetFaults("COM1", faults);
    }
};
TYPED_TEST_SUITE(WindowLog, EcuBenches, EcuBenchNames);

TYPED_TEST(WindowLog, F6LogsEveryGoodReadWhilePollingAndF6AgainEndsIt) {
    this->Open();
    this->ecus.SetLiveValue("COM1", EngineSpeed, 4 * 1250);
    this->window->ALogExecute();
    ASSERT_TRUE(this->window->Logging());
    EXPECT_EQ(this->view.Panels[2], "\u25CF 0");
    const auto logs = this->Logs();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_TRUE(std::regex_match(logs[0].filename().string(),
                                 std::regex(R"(\d{4}-\d\d-\d\d_\d{6}_set1\.csv)")));
    EXPECT_THAT(this->view.PanelTips[2], HasSubstr(logs[0].filename().string()));

    const int tipsSet = this->view.PanelTipsSet;
    this->StartPolling();                         // row 1
    this->Tick();                                 // row 2
    EXPECT_EQ(this->view.PanelTipsSet, tipsSet);  // the rows change only the count
    this->FailReads(true);
    this->Tick();  // a failed read: no row, the file goes on
    this->FailReads(false);
    this->Tick();  // row 3
    this->window->LanguageBtnClick();
    this->Tick();  // row 4: a new language keeps the file
    this->window->ADiagExecute();
    ASSERT_FALSE(this->window->Polling);
    this->window->AResetErrorsExecute();  // the timer ticks on, polling is off
    this->Tick();
    EXPECT_EQ(this->view.Panels[2], "\u25CF 4");
    this->window->ALogExecute();
    EXPECT_FALSE(this->window->Logging());
    EXPECT_EQ(this->view.Panels[2], "F1 - F4");
    EXPECT_EQ(this->view.PanelTips[2], "");

    const auto lines = this->LogLines();
    ASSERT_EQ(lines.size(), 5u);
    const auto header = Fields(lines[0]);
    ASSERT_EQ(header.size(), 17u);
    // A spreadsheet takes the Cyrillic headers for UTF-8 by the mark alone.
    EXPECT_EQ(header[0], std::string(ByteOrderMark) + "time");
    EXPECT_EQ(header[1], "NMOT [об/мин]");
    for (std::size_t row = 1; row < lines.size(); ++row) {
        const auto fields = Fields(lines[row]);
        ASSERT_EQ(fields.size(), 17u) << lines[row];
        EXPECT_TRUE(std::regex_match(fields[0], std::regex(R"(\d{4}-\d\d-\d\dT[\d:]{8}\.\d{3})")));
        EXPECT_EQ(fields[1], "1250");
    }
    this->Tick();
    EXPECT_EQ(this->LogLines().size(), 5u);
}

TYPED_TEST(WindowLog, APageChangeEndsTheLogAndTheErrorsPageHasNone) {
    this->Open();
    this->StartPolling();
    this->window->ALogExecute();
    this->Tick();
    this->Tick(1);  // ends the log of page 0
    EXPECT_FALSE(this->window->Logging());
    this->Tick(0);
    EXPECT_EQ(this->LogLines().size(), 2u);

    this->Tick(2);
    this->window->ALogExecute();
    EXPECT_FALSE(this->window->Logging());
    this->window->FormShortCut(VirtualKey::F1 + 1);
    this->window->ALogExecute();  // a log of the second set
    ASSERT_TRUE(this->window->Logging());
    this->window->FormShortCut(VirtualKey::F1 + 1);  // the page on view already
    EXPECT_TRUE(this->window->Logging());
    this->window->FormShortCut(VirtualKey::F4);
    EXPECT_FALSE(this->window->Logging());
    auto logs = this->Logs();
    ASSERT_EQ(logs.size(), 2u);
    EXPECT_THAT(logs[1].string(), HasSubstr("_set2"));
    // Logs begun within a second each have a file of their own.
    this->window->FormShortCut(VirtualKey::F1);
    for (int log = 0; log < 3; ++log) {
        this->window->ALogExecute();
        this->window->ALogExecute();
    }
    logs = this->Logs();
    EXPECT_EQ(logs.size(), 5u);
    EXPECT_TRUE(this->view.Messages.empty());
}

#ifndef _WIN32
TYPED_TEST(WindowLog, AWriteThatFailsStopsTheLogWithOneMessageAndPollingGoesOn) {
    this->Open();
    this->StartPolling();
    this->window->ALogExecute();
    this->Tick();
    {
        // Room for part of a row: the next write fails, as on a full disk.
        const FileSizeLimit full(std::filesystem::file_size(this->Logs()[0]) + 10);
        this->Tick();
        this->Tick();
    }
    ASSERT_EQ(this->view.Messages.size(), 1u);
    EXPECT_THAT(this->view.Messages[0].Text, HasSubstr("Журнал остановлен"));
    EXPECT_THAT(this->view.Messages[0].Text, HasSubstr(this->Logs()[0].string()));
    EXPECT_FALSE(this->window->Logging());
    // Fixed fault: the row that did not fit stayed, cut, and read as values.
    const std::string log = ReadBytes(this->Logs()[0]);
    EXPECT_TRUE(log.ends_with('\n')) << log;
    EXPECT_EQ(this->view.Panels[2], "F1 - F4");
    EXPECT_TRUE(this->window->Polling);
    const std::int32_t reads = this->window->ReadCount;
    this->Tick();
    EXPECT_EQ(this->window->ReadCount, reads + 1);
    EXPECT_EQ(this->view.Messages.size(), 1u);
}
#endif

// Fixed fault: the log followed no regional setting, and a spreadsheet of the
// decimal comma read each row as one text. With the comma the fields part at
// ';' and the decimals follow ','; with a point, as before.
TYPED_TEST(WindowLog, TheLogFollowsTheDecimalSeparatorOfTheRegionalSettings) {
    this->Open();
    this->view.Separator = ",";
    this->StartPolling();
    this->window->ALogExecute();
    this->Tick();
    this->window->ALogExecute();
    const auto lines = this->LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Fields(lines[0], ';').size(), 17u) << lines[0];
    EXPECT_TRUE(lines[0].starts_with(std::string(ByteOrderMark) + "time;NMOT [")) << lines[0];
    const auto fields = Fields(lines[1], ';');
    ASSERT_EQ(fields.size(), 17u) << lines[1];
    EXPECT_TRUE(std::regex_match(fields[0], std::regex(R"(\d{4}-\d\d-\d\dT[\d:]{8}\.\d{3})")));
    EXPECT_TRUE(std::regex_match(fields[2], std::regex(R"(-?\d+,\d)"))) << lines[1];  // TWAT, 0.0
}

// A log that cannot be made says why, in words of what stands in the way of
// logs/, and nothing is logged.
TYPED_TEST(WindowLog, ALogThatCannotBeMadeIsSaid) {
    WriteBytes(this->folder / "logs", "a file where the folder would be");
    this->Open();
    this->window->ALogExecute();
    EXPECT_FALSE(this->window->Logging());
    ASSERT_EQ(this->view.Messages.size(), 1u);
    EXPECT_THAT(this->view.Messages[0].Text, HasSubstr("Журнал не начат"));
    EXPECT_THAT(this->view.Messages[0].Text, HasSubstr("logs: it is a file, not a folder."));
#ifndef _WIN32
    // Fixed fault: a link to nothing was only "File exists".
    std::filesystem::remove(this->folder / "logs");
    std::filesystem::create_symlink(this->folder / "gone", this->folder / "logs");
    this->window->ALogExecute();
    EXPECT_FALSE(this->window->Logging());
    ASSERT_EQ(this->view.Messages.size(), 2u);
    EXPECT_THAT(this->view.Messages[1].Text,
                HasSubstr("logs: it is a link to " + (this->folder / "gone").string() +
                          ", which does not exist."));
#endif
}

// --- Range warnings ---

// Each list keeps the warnings of its own values.
TYPED_TEST(WindowLog, AValueOutsideItsRangeIsShownAsAWarningUntilItIsBack) {
    this->Open();
    this->ecus.SetLiveValue("COM1", EngineSpeed, 4 * 3100);
    this->ecus.SetLiveValue("COM1", AtmosphericPressure, 1500);  // 150 kPa, of 50 to 110
    this->StartPolling();
    EXPECT_TRUE(this->view.Warnings[0][0]);
    EXPECT_FALSE(this->view.Warnings[0][1]);
    this->Tick(1);
    EXPECT_TRUE(this->view.Warnings[1][0]);
    EXPECT_TRUE(this->view.Warnings[0][0]);
    this->Tick(0);
    this->ecus.SetLiveValue("COM1", EngineSpeed, 4 * 3000);  // the bound is inside
    this->Tick();
    EXPECT_FALSE(this->view.Warnings[0][0]);
    EXPECT_TRUE(this->view.Warnings[1][0]);
}

TEST(RangeRule, OnlyADefinitionWithARangeWarns) {
    ParameterDef def;
    def.Min = 0.0;
    def.Max = 3000.0;
    EXPECT_FALSE(OutOfRange(def, 0.0));
    EXPECT_FALSE(OutOfRange(def, 3000.0));
    EXPECT_TRUE(OutOfRange(def, -0.5));
    EXPECT_TRUE(OutOfRange(def, 3000.5));
    EXPECT_FALSE(OutOfRange(def, std::nan("")));
    def.Max = def.Min;  // no range: nothing warns
    EXPECT_FALSE(OutOfRange(def, 1e9));
    def.Max = -1.0;
    EXPECT_FALSE(OutOfRange(def, 1e9));
}

// --- The trend ---

// The trend plots the set last on view: a failed read breaks its curves and
// greys them, the errors and information pages keep its rows and move its
// axis on, and each set's page brings back the rows chosen there.
TYPED_TEST(WindowLog, TheTrendKeepsEachSetsRowsAndLapsesWhereNoValuesCome) {
    this->Open();
    this->window->ATrendExecute();
    EXPECT_TRUE(this->view.TrendShown);
    EXPECT_EQ(this->view.TrendTexts[0], "Тренд");
    ASSERT_EQ(this->view.TrendNames.size(), 16u);
    EXPECT_THAT(this->view.TrendNames[0], HasSubstr("NMOT"));
    EXPECT_EQ(this->window->TrendOfPage().Chosen(), std::vector<int>{0});

    this->ecus.SetLiveValue("COM1", EngineSpeed, 4 * 900);
    this->StartPolling();
    const Trend& trend = this->window->TrendOfPage();
    this->FailReads(true);
    this->Tick();
    EXPECT_TRUE(trend.Of(0).Broken());
    EXPECT_GE(trend.Now(), trend.Of(0).Latest().Seconds);
    this->FailReads(false);
    this->ecus.SetLiveValue("COM1", EngineSpeed, 4 * 1100);
    const int redraws = this->view.TrendRedraws;
    this->Tick();
    EXPECT_GT(this->view.TrendRedraws, redraws);
    const Trend::Series& speed = trend.Of(0);
    ASSERT_EQ(speed.Size(), 2u);
    EXPECT_EQ(speed.At(0).Value, 900.0);
    EXPECT_EQ(speed.At(1).Value, 1100.0);
    EXPECT_FALSE(speed.At(1).Joined);  // not across the failed read
    EXPECT_FALSE(speed.Broken());
    EXPECT_LE(speed.At(0).Seconds, speed.At(1).Seconds);

    this->window->TrendPeriodChosen(1);
    this->window->LanguageBtnClick();
    EXPECT_EQ(this->view.TrendTexts[0], "Trend");
    EXPECT_EQ(this->view.TrendPeriod, 1);  // the period picked, in the new texts
    EXPECT_EQ(trend.Of(0).Size(), 2u);
    this->window->TrendRowsChosen({0, 3});

    this->view.Page = 1;
    this->window->PageControl1Change();
    EXPECT_EQ(trend.Of(0).Size(), 0u);
    EXPECT_THAT(this->view.TrendNames[0], ::testing::Not(HasSubstr("NMOT")));
    EXPECT_EQ(trend.Chosen(), std::vector<int>{0});
    this->window->TrendRowsChosen({2, 5});
    this->Tick();
    // The errors page: set 2's rows stay, its axis goes on without values.
    const double read = trend.Of(2).Latest().Seconds;
    this->Tick(2);
    this->Tick(2);
    EXPECT_EQ(this->view.TrendNames.size(), 16u);
    EXPECT_EQ(trend.Chosen(), (std::vector<int>{2, 5}));
    EXPECT_EQ(trend.Of(2).Size(), 1u);
    EXPECT_TRUE(trend.Of(2).Broken());
    EXPECT_GT(trend.Now(), read);
    this->Tick(0);
    EXPECT_EQ(trend.Chosen(), (std::vector<int>{0, 3}));
    EXPECT_THAT(this->view.TrendNames[0], HasSubstr("NMOT"));
    EXPECT_EQ(this->view.TrendChosen[3], true);
    this->Tick(1);
    EXPECT_EQ(trend.Chosen(), (std::vector<int>{2, 5}));

    // A closed trend is not drawn at the ticks.
    this->window->TrendClosed();
    const int closed = this->view.TrendRedraws;
    this->Tick();
    this->Tick(2);
    EXPECT_EQ(this->view.TrendRedraws, closed);
}

TYPED_TEST(WindowLog, AtMostFourRowsArePlottedAndThoseChosenFirstStay) {
    this->Open();
    this->window->ATrendExecute();
    this->window->TrendRowsChosen({0, 16, -1});  // rows the set does not have
    EXPECT_EQ(this->window->TrendOfPage().Chosen(), std::vector<int>{0});
    this->window->TrendRowsChosen({0, 3});
    this->window->TrendRowsChosen({0, 1, 3, 5, 7});  // 1, 5 and 7 ticked at once
    EXPECT_EQ(this->window->TrendOfPage().Chosen(), (std::vector<int>{0, 3, 1, 5}));
    std::vector<bool> ticked(16, false);
    for (int row : {0, 1, 3, 5}) ticked[static_cast<std::size_t>(row)] = true;
    EXPECT_EQ(this->view.TrendChosen, ticked);
    this->window->TrendPeriodChosen(1);
    EXPECT_EQ(this->window->TrendOfPage().PeriodSeconds, 300);
}

TEST(TrendSeries, KeepsItsBoundAndDropsOnlyTheOldest) {
    Trend::Series series;
    const std::size_t added = Trend::Capacity + 7;
    for (std::size_t i = 0; i < added; ++i)
        series.Add({static_cast<double>(i), static_cast<double>(i) * 2});
    ASSERT_EQ(series.Size(), Trend::Capacity);
    for (std::size_t i = 0; i < series.Size(); ++i) {
        ASSERT_EQ(series.At(i).Seconds, static_cast<double>(i + 7));
        ASSERT_EQ(series.At(i).Value, static_cast<double>(i + 7) * 2);
    }
    series.Clear();
    EXPECT_EQ(series.Size(), 0u);
    series.Add({1.0, 1.0});
    EXPECT_EQ(series.Latest().Seconds, 1.0);
}

// The time axis ends at the grid line at or after the latest read and reaches
// a step of 10 s further back than the minute. A row with a range spans the
// plot from its Min at the bottom to its Max at the top; values beyond it are
// marked and drawn at the edge. A row without a range is fitted to its values.
TEST(TrendPlot, CurvesSpanThePlotByTheirScalesAndMarkValuesOutOfRange) {
    PlotRows unranged(0.0, 0.0);
    ParameterDef ranged;
    ranged.Min = 0.0;
    ranged.Max = 3000.0;
    ParameterSets::SlotDefinitions& rows = unranged.Rows;
    rows[0] = &ranged;
    Trend trend = TrendFromGridLine({});
    // Slot 0 from 20 s (the axis' start): 0 to 3000 over the minute, then 3500.
    AddReads(trend, 0, 90, [](int s, int slot) {
        if (slot != 0) return 10.0 + s;
        return s < 80 ? (s - 20) * 50.0 : s < 90 ? 3000.0 : 3500.0;
    });
    trend.Choose({0, 1});
    const TrendPicture picture = PlotTrend(trend, rows, 800, 400, ".");
    const int left = 8, right = 800 - TrendValueRoom;
    // Below the legend's two lines.
    const int top = 8 + 2 * TrendLineHeight, bottom = 400 - 8 - TrendLineHeight;
    const auto x = [&](int s) {
        return left + static_cast<int>(std::lround((s - 20) / 70.0 * (right - left)));
    };

    // Grid lines every 10 s from 20 s to 90 s, each with its time of day.
    std::vector<int> lines;
    for (const TrendLine& line : picture.Grid)
        if (line.Points.front().X == line.Points.back().X) lines.push_back(line.Points.front().X);
    EXPECT_EQ(lines, (std::vector<int>{x(20), x(30), x(40), x(50), x(60), x(70), x(80), x(90)}));
    EXPECT_EQ(lines.back(), right);
    const auto timesOfDay = [](const TrendPicture& picture) {
        return std::count_if(picture.Labels.begin(), picture.Labels.end(),
                             [](const TrendText& text) { return text.Text.size() == 8; });
    };
    EXPECT_EQ(timesOfDay(picture), 8);
    // Too narrow for a time under every line: one at each 20 s.
    EXPECT_EQ(timesOfDay(PlotTrend(trend, rows, 500, 400, ".")), 4);

    ASSERT_EQ(picture.Curves.size(), 2u);
    const auto& curve = picture.Curves[0].Points;
    ASSERT_EQ(curve.size(), 71u);                                   // from 20 s on
    EXPECT_EQ(curve.front(), (TrendPixel{left, bottom}));           // 0 at 20 s
    EXPECT_EQ(curve[30], (TrendPixel{x(50), (top + bottom) / 2}));  // 1500
    EXPECT_EQ(curve[69], (TrendPixel{x(89), top}));                 // 3000, in range
    EXPECT_EQ(curve[70], (TrendPixel{right, top}));                 // 3500, at the edge
    EXPECT_EQ(picture.Curves[0].Colour, TrendColour(0));
    ASSERT_EQ(picture.Marks.size(), 1u);
    EXPECT_EQ(picture.Marks[0].At, curve[70]);
    ASSERT_EQ(picture.Values.size(), 2u);
    EXPECT_EQ(picture.Values[0].Colour, WarningColour());  // 3500 is out of range
    // Fitted: 30 to 100 fills the height.
    EXPECT_EQ(picture.Curves[1].Points.front().Y, bottom);
    EXPECT_EQ(picture.Curves[1].Points.back().Y, top);
    // The legend in its band above the plot, a line a row.
    const auto legend = picture.Labels.end() - 2;  // after the times of day
    EXPECT_THAT(legend[0].Text, HasSubstr("0 .. 3000"));
    EXPECT_EQ(legend[1].Colour, TrendColour(1));
    EXPECT_LE(legend[1].At.Y + TrendLineHeight, top);
    EXPECT_EQ(legend[1].At.Y, legend[0].At.Y + TrendLineHeight);

    // Four values all at the bottom stay in the height, one under another.
    trend.Choose({2, 3, 4, 5});
    AddReads(trend, 91, 91, [](int, int) { return 0.0; });
    std::vector<int> ys;
    for (const TrendText& text : PlotTrend(trend, rows, 800, 400, ".").Values)
        ys.push_back(text.At.Y);
    EXPECT_EQ(ys, (std::vector<int>{400 - 4 * TrendLineHeight, 400 - 3 * TrendLineHeight,
                                    400 - 2 * TrendLineHeight, 400 - TrendLineHeight}));
}

// Reads that lapse for 12 s leave a gap in each curve, not a ramp; the
// latest values are grey until the reads come back, and meanwhile the axis
// goes on to the present.
TEST(TrendPlot, ALapseBreaksTheCurvesGreysTheValuesAndTheAxisGoesOn) {
    const PlotRows ranged(0.0, 100.0);
    const auto& rows = ranged.Rows;
    Trend trend = TrendFromGridLine({0, 1});
    const auto value = [](int s, int slot) { return slot == 0 ? 20.0 : 40.0 + s % 7; };
    AddReads(trend, 0, 30, value);
    for (int second = 31; second <= 42; ++second) trend.Lapse(second);
    // The axis ends at the grid line after the present, 50 s, not after the
    // last read at 30 s: its time of day is the last label, at the right edge.
    const TrendPicture during = PlotTrend(trend, rows, 800, 400, ".");
    EXPECT_EQ(during.Labels[during.Labels.size() - 3].Text,  // before the two legends
              LocalTimeText(static_cast<std::time_t>(GridLineOrigin + 50), "%H:%M:%S"));
    EXPECT_EQ(during.Curves.size(), 2u);
    ASSERT_EQ(during.Values.size(), 2u);
    EXPECT_EQ(during.Values[0].Colour, StaleColour());
    EXPECT_EQ(during.Values[1].Colour, StaleColour());

    AddReads(trend, 43, 60, value);
    const TrendPicture after = PlotTrend(trend, rows, 800, 400, ".");
    ASSERT_EQ(after.Curves.size(), 4u);  // two pieces of each row
    const int right = 800 - TrendValueRoom;
    const auto x = [&](int s) {  // the axis from -10 s to 60 s
        return 8 + static_cast<int>(std::lround((s + 10) / 70.0 * (right - 8)));
    };
    EXPECT_EQ(after.Curves[0].Points.back().X, x(30));
    EXPECT_EQ(after.Curves[1].Points.front().X, x(43));
    EXPECT_EQ(after.Curves[1].Points.size(), 18u);
    EXPECT_EQ(after.Curves[3].Colour, TrendColour(1));
    const auto colours = [](const TrendPicture& picture) {
        std::vector<CellColour> colours;
        for (const TrendText& text : picture.Values) colours.push_back(text.Colour);
        return colours;
    };
    EXPECT_THAT(colours(after), UnorderedElementsAre(TrendColour(0), TrendColour(1)));

    // A lone read between two lapses is a piece of one point; a slot whose
    // selection was refused breaks its curve as a lapse does.
    trend.Lapse(61);
    AddReads(trend, 62, 62, value);
    trend.Lapse(63);
    ParameterSets::Definitions definitions{};
    ParameterSets sets(definitions);
    sets.Selection.Accepted = 1;  // slot 0 only
    trend.Add(64, sets);
    const TrendPicture lone = PlotTrend(trend, rows, 800, 400, ".");
    ASSERT_EQ(lone.Curves.size(), 7u);
    EXPECT_EQ(lone.Curves[2].Points.size(), 1u);  // row 0 at 62 s
    EXPECT_EQ(lone.Curves[3].Points.size(), 1u);  // row 0 at 64 s
    EXPECT_THAT(colours(lone), UnorderedElementsAre(TrendColour(0), StaleColour()));
}

// Between two steps of the axis the curves only grow: what a view paints anew
// is the new ends and the latest values, a small part of the plot. A step of
// the axis moves everything.
TEST(TrendPlot, OnlyTheCurvesNewEndsAndTheValuesChangeUntilTheAxisSteps) {
    const PlotRows ranged(0.0, 100.0);
    const auto& rows = ranged.Rows;
    Trend trend = TrendFromGridLine({0, 1});
    const auto value = [](int s, int slot) {
        return slot == 0 ? static_cast<double>(s % 50) : 10.0 + s;
    };
    AddReads(trend, 0, 84, value);
    const TrendPicture before = PlotTrend(trend, rows, 800, 400, ".");
    AddReads(trend, 85, 85, value);
    const TrendPicture after = PlotTrend(trend, rows, 800, 400, ".");

    EXPECT_EQ(ChangedAreas(before, before, 800), std::vector<TrendArea>{});
    const auto areas = ChangedAreas(before, after, 800);
    ASSERT_TRUE(areas.has_value());
    const auto inside = [](const TrendPixel& pixel, const TrendArea& area) {
        return pixel.X >= area.X && pixel.X < area.X + area.Width && pixel.Y >= area.Y &&
               pixel.Y < area.Y + area.Height;
    };
    // Each curve's segment from its old end to its new, and no more.
    for (std::size_t n = 0; n < 2; ++n)
        EXPECT_TRUE(std::any_of(areas->begin(), areas->end(), [&](const TrendArea& area) {
            return area.Width < 30 && inside(before.Curves[n].Points.back(), area) &&
                   inside(after.Curves[n].Points.back(), area);
        })) << n;
    // The rest are the lines of the latest values, beside the plot.
    for (const TrendArea& area : *areas) {
        if (area.Width >= 30) {
            EXPECT_GE(area.X, 800 - TrendValueRoom) << area.X;
        }
    }

    AddReads(trend, 91, 91, value);  // past the grid line at 90 s
    EXPECT_FALSE(ChangedAreas(after, PlotTrend(trend, rows, 800, 400, "."), 800).has_value());

    // A new width or height alone is painted whole, whatever the picture.
    TrendCanvas canvas([&](int, int) { return after; });
    canvas.Refresh(800, 400);
    EXPECT_EQ(canvas.Refresh(800, 400), std::vector<TrendArea>{});
    EXPECT_FALSE(canvas.Refresh(800, 300).has_value());
    EXPECT_FALSE(canvas.Refresh(700, 300).has_value());
}

// Beside the main window where the work area has room: right, left, below,
// above; else at the corner of the work area where it covers least of the
// main window (here 592 × 480 in its frame, the trend 640 × 440).
TEST(TrendPlacement, BesideTheMainWindowWhereThereIsRoomElseWhereItCoversLeast) {
    struct Case {
        const char* What;
        TrendArea Owner, Screen, Expected;
    };
    const Case cases[] = {
        {"room on the right", {100, 100, 592, 480}, {0, 0, 1920, 1080}, {700, 100, 640, 440}},
        {"level, but inside", {100, 700, 592, 300}, {0, 0, 1920, 1080}, {700, 640, 640, 440}},
        {"room on the left only", {1300, 100, 592, 480}, {0, 0, 1920, 1080}, {652, 100, 640, 440}},
        {"room below only", {344, 0, 592, 480}, {0, 0, 1280, 1024}, {344, 488, 640, 440}},
        {"room above only", {344, 540, 592, 480}, {0, 0, 1280, 1024}, {344, 92, 640, 440}},
        {"off the origin", {-1200, 10, 592, 480}, {-1280, 30, 2880, 1000}, {-600, 30, 640, 440}},
        // Centred on 1280 × 1024: the bottom right corner covers 296 × 168,
        // no more than any other place.
        {"no room beside", {344, 272, 592, 480}, {0, 0, 1280, 1024}, {640, 584, 640, 440}},
        {"no room, nearer the top", {344, 100, 592, 480}, {0, 0, 1280, 1024}, {640, 584, 640, 440}},
        {"no room, lower", {344, 420, 592, 480}, {0, 0, 1280, 1024}, {640, 0, 640, 440}},
        {"no room, nearer the left", {100, 272, 592, 480}, {0, 0, 1280, 800}, {640, 0, 640, 440}},
        {"a work area smaller than it", {0, 0, 592, 480}, {0, 0, 600, 400}, {0, 0, 640, 440}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceTrend(c.Owner, 640, 440, c.Screen, 8), c.Expected) << c.What;
}

// The window opens there the first time its screen is known, and is shown
// where the user left it after that, whichever toolkit shows it.
TYPED_TEST(WindowLog, TheTrendOpensBesideTheMainWindowOnceItsScreenIsKnown) {
    this->Open();
    this->window->ATrendExecute();
    EXPECT_TRUE(this->view.TrendShown);
    EXPECT_TRUE(this->view.TrendMoves.empty()) << "placed without a screen";
    this->view.TrendPlaces = TrendScreen{{100, 100, 592, 480}, 640, 440, {0, 0, 1920, 1080}, 8};
    this->window->TrendClosed();
    this->window->ATrendExecute();
    this->window->TrendClosed();
    this->window->ATrendExecute();
    EXPECT_EQ(this->view.TrendMoves, (std::vector<TrendArea>{{700, 100, 0, 0}}));
}

}  // namespace

// A log of F6 opened in the trend window (Ctrl+O, the file dialog in logs/)
// shows in place of the live trend while polling goes on, and "Back to live"
// brings the trend back; the texts follow the language button.
TYPED_TEST(WindowLog, ALogOfF6OpensInTheTrendWindowWhilePollingGoesOn) {
    this->Open();
    this->StartPolling();
    this->window->ALogExecute();
    for (int tick = 0; tick < 3; ++tick) this->Tick();
    this->window->ALogExecute();
    this->window->ATrendExecute();
    ASSERT_EQ(this->Logs().size(), 1u);
    EXPECT_TRUE(this->view.PeriodShown);
    EXPECT_EQ(this->view.LogBackCaption, "");

    this->view.LogFilePicked = this->Logs()[0];
    LogWindow& log = this->window->TrendLog();
    EXPECT_TRUE(log.Key(LogKey::O, true));
    EXPECT_EQ(this->view.LogDialogFolder, this->folder / "logs");
    ASSERT_TRUE(log.Showing());
    EXPECT_TRUE(this->view.LogMessages.empty());
    // The values are those of the file's rows.
    const auto lines = this->LogLines();
    ASSERT_EQ(log.Table().Rows(), lines.size() - 1);
    for (std::size_t row = 0; row < log.Table().Rows(); ++row)
        EXPECT_EQ(std::to_string(static_cast<int>(log.Table().Columns()[0].Values[row])),
                  Fields(lines[row + 1])[1]);
    EXPECT_THAT(this->view.TrendTexts[0], HasSubstr(this->Logs()[0].filename().string()));
    EXPECT_EQ(this->view.TrendNames.size(), 16u);
    EXPECT_EQ(this->view.TrendChosen,
              std::vector<bool>({true, true, true, true, false, false, false, false, false, false,
                                 false, false, false, false, false, false}));
    EXPECT_FALSE(this->view.PeriodShown);
    const std::string back = this->view.LogBackCaption;
    EXPECT_FALSE(back.empty());

    // The ticks go on, and leave the log's picture as it is.
    const int redraws = this->view.TrendRedraws;
    EXPECT_FALSE(this->Tick().empty());
    EXPECT_EQ(this->view.TrendRedraws, redraws);
    this->window->LanguageBtnClick();
    EXPECT_NE(this->view.LogBackCaption, back);
    EXPECT_TRUE(log.Showing());

    this->window->TrendBackToLive();
    EXPECT_FALSE(log.Showing());
    EXPECT_EQ(this->view.LogBackCaption, "");
    EXPECT_TRUE(this->view.PeriodShown);
    EXPECT_EQ(this->view.TrendChosen[0], true);
    EXPECT_EQ(this->view.TrendChosen[1], false);
    const int live = this->view.TrendRedraws;
    this->Tick();
    EXPECT_GT(this->view.TrendRedraws, live);
}
