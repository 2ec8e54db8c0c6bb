// The window's report (F9), on scripted ports and on simulators: what the
// file holds, which set it shows, and that polling, the timer, the log and
// the trend go on as if no report had been made; a folder that takes no
// report.

#include <gmock/gmock.h>

#include <algorithm>
#include <regex>

#include "support/BehaviourFixture.h"
#include "window/Trend.h"

using ::testing::HasSubstr;

namespace {

template <typename Ecus>
class WindowReport : public BehaviourTest<Ecus> {
protected:
    void SetUp() override {
        this->ecus.AddEcu("COM1");
        std::array<std::uint8_t, 16> bitmap{};
        bitmap[1] = 0x02;  // error 9, P0340
        this->ecus.SetErrorBitmap("COM1", bitmap);
    }
    std::vector<std::filesystem::path> Reports() const { return this->FilesIn("reports"); }
    // What the window is left with that a report must not change.
    struct Untouched {
        bool Polling, TimerOn;
        std::int32_t ReadCount;
        std::string LogPanel;
        std::size_t TrendPoints;
        double TrendNow;
        bool operator==(const Untouched&) const = default;
    };
    Untouched State() const {
        const Trend& trend = this->window->TrendOfPage();
        return {this->window->Polling, this->view.TimerOn, this->window->ReadCount,
                this->view.Panels[2],  trend.Of(0).Size(), trend.Now()};
    }
};
TYPED_TEST_SUITE(WindowReport, EcuBenches, EcuBenchNames);

}  // namespace

// F9 while the first set is polled and logged, then on the errors page after
// the second set with polling off and the language switched: each press
// writes one new page of what the ECU holds, of the set last on view, and
// leaves the window as it was but for the link flag, so that the next tick
// selects its own set again.
TYPED_TEST(WindowReport, F9WritesOneReportOfTheEcuAndLeavesPollingTheLogAndTheTrendAlone) {
    struct Case {
        const char* name;
        bool english;
        std::vector<int> pages;  // ticked in turn before F9, the last on view
        bool polling;
        const char* set;
        const char* error;
        const char* written;
    };
    const Case cases[] = {
        {"set 1, logged, polling",
         false,
         {0},
         true,
         "Параметры, набор 1",
         "<td>P0340</td><td>Датчик распредвала: нет сигнала</td>",
         "Отчёт записан в файл\n"},
        {"errors page after set 2, polling off, English",
         true,
         {1, 2},
         false,
         "Parameters, set 2",
         "<td>P0340</td><td>Camshaft sensor: no signal</td>",
         "The report was written to\n"},
    };
    this->Open();
    this->StartPolling();
    this->window->ALogExecute();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.english) this->window->LanguageBtnClick();
        for (int page : c.pages) this->Tick(page);
        if (this->window->Polling != c.polling) this->window->ADiagExecute();
        const auto before = this->State();
        const std::size_t reports = this->Reports().size();
        this->view.Notices.clear();
        this->view.Opened.clear();
        this->ecus.ClearLog("COM1");

        EXPECT_TRUE(this->window->ActionKey(VirtualKey::F9));

        EXPECT_FALSE(this->ecus.Frames("COM1").empty());
        EXPECT_EQ(this->State(), before);
        EXPECT_FALSE(this->window->LinkOk);
        const auto written = this->Reports();
        ASSERT_EQ(written.size(), reports + 1);
        const std::filesystem::path& path = written.back();
        EXPECT_TRUE(std::regex_match(path.filename().string(),
                                     std::regex(R"(\d{4}-\d\d-\d\d_\d{6}(_\d+)?\.html)")));
        const std::string html = ReadBytes(path);
        EXPECT_THAT(html, HasSubstr("<td class=\"vin\">X9L21230060123456</td>"));
        EXPECT_THAT(html, HasSubstr(">932:4<"));
        EXPECT_THAT(html, HasSubstr(c.error));
        EXPECT_THAT(html, HasSubstr(c.set));
        EXPECT_EQ(this->view.Opened, std::vector<std::filesystem::path>{path});
        ASSERT_EQ(this->view.Notices.size(), 1u);
        EXPECT_THAT(this->view.Notices[0].second, HasSubstr(c.written + path.string()));
        EXPECT_TRUE(this->view.Messages.empty());
        // A parameter page's next tick selects its set anew before its block.
        const auto next = this->Tick();
        ASSERT_FALSE(next.empty());
        EXPECT_EQ(IsSelection(next[0], 0), this->view.Page < 2);
    }
}

// A reports folder that cannot be made is one message, nothing is sent for
// the report and polling goes on.
TYPED_TEST(WindowReport, AReportThatCannotBeWrittenIsOneMessageAndPollingGoesOn) {
    WriteBytes(this->folder / "reports", "a file where the folder would be");
    this->Open();
    this->StartPolling();
    const auto before = this->State();

    this->window->AReportExecute();

    EXPECT_TRUE(this->ecus.Frames("COM1").empty());
    EXPECT_EQ(this->State(), before);
    ASSERT_EQ(this->view.Messages.size(), 1u);
    EXPECT_EQ(this->view.Messages[0].Kind, WindowView::Icon::Error);
    EXPECT_THAT(this->view.Messages[0].Text,
                HasSubstr("Отчёт не записан: " + (this->folder / "reports").string() +
                          ": it is a file, not a folder."));
    EXPECT_TRUE(this->view.Notices.empty());
    EXPECT_TRUE(this->view.Opened.empty());
    this->Tick();
    EXPECT_EQ(this->window->ReadCount, before.ReadCount + 1);
    EXPECT_EQ(this->view.Messages.size(), 1u);
}
