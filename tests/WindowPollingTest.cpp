// The window's behaviour as a mechanic drives it, on scripted ports and on
// simulators: start-up and port detection, Start and Stop, the ticks of the
// parameter pages, keys and page changes, clearing the errors, the language
// switch, closing, and a lost adapter coming back. The tick is called as the
// timer would call it.

#include <gmock/gmock.h>

#include "database/ProfileValues.h"
#include "support/BehaviourFixture.h"

namespace {

template <typename Ecus>
class WindowPolling : public BehaviourTest<Ecus> {};
TYPED_TEST_SUITE(WindowPolling, EcuBenches, EcuBenchNames);

using Icon = WindowView::Icon;

// --- Start-up and port detection ---

TYPED_TEST(WindowPolling, TheEcuOnTheThirdPortIsSelectedAndTheLaterPortsAreNotListed) {
    this->ecus.AddSilentPort("COM1");
    this->ecus.AddSilentPort("COM2");
    this->ecus.AddEcu("COM3");
    this->ecus.AddSilentPort("COM4");
    this->Open();
    EXPECT_EQ(this->view.Ports, (std::vector<std::string>{"COM1", "COM2", "COM3"}));
    EXPECT_EQ(this->view.SelectedPort, 2);
    EXPECT_TRUE(this->Session().Line.IsOpen());
    EXPECT_EQ(this->Session().Line.PortName(), "COM3");
    EXPECT_TRUE(this->view.Messages.empty());
    EXPECT_FALSE(this->view.TimerOn);  // idle until Start
    EXPECT_EQ(this->view.Title, "Diag VMX-4410 v.1.06");
    EXPECT_EQ(this->view.Panels[2], "F1 - F4");
}

TYPED_TEST(WindowPolling, WithoutAnEcuEveryPortIsListedTheFirstOpenedAndTheUserTold) {
    this->ecus.AddSilentPort("COM1");
    this->ecus.AddSilentPort("COM2");
    this->Open();
    EXPECT_EQ(this->view.Ports, (std::vector<std::string>{"COM1", "COM2"}));
    EXPECT_EQ(this->view.SelectedPort, 0);
    EXPECT_EQ(this->Session().Line.PortName(), "COM1");
    ASSERT_EQ(this->view.Messages.size(), 1u);
    EXPECT_EQ(this->view.Messages[0].Text, "No connecting.");
    EXPECT_EQ(this->view.Messages[0].Kind, Icon::Error);
}

// A missing database.ini leaves every value a raw word without a name, which
// looks like a fault of the ECU: the user is told once, and the window starts.
TYPED_TEST(WindowPolling, AMissingDefinitionFileIsSaidOnceAndTheWindowStartsAllTheSame) {
    this->ecus.AddEcu("COM1");
    std::filesystem::remove(this->folder / "database.ini");
    this->Open();
    ASSERT_EQ(this->view.Messages.size(), 1u);
    EXPECT_THAT(this->view.Messages[0].Text,
                ::testing::HasSubstr("database.ini is not in the current folder, " +
                                     this->folder.Path().string() + ":"));
    EXPECT_EQ(this->view.SelectedPort, 0);
    this->window->ADiagExecute();
    EXPECT_FALSE(this->Tick().empty());
    // The file the window writes on closing holds only the language; the next
    // start says so, not only that it defines no parameter.
    this->window.reset();
    this->view.Messages.clear();
    this->Open();
    ASSERT_EQ(this->view.Messages.size(), 1u);
    EXPECT_THAT(this->view.Messages[0].Text,
                ::testing::HasSubstr("database.ini in " + this->folder.Path().string() +
                                     " defines no parameter: it holds only the language"));
}

// A file with a fault the checker counts as an error is said in its words,
// with where to look further.
TYPED_TEST(WindowPolling, AFaultOfTheDefinitionFileIsSaidAsTheCheckerSaysIt) {
    this->ecus.AddEcu("COM1");
    WriteBytes(this->folder / "database.ini",
               "[0000]\r\nAddress=0100\r\n[0000]\r\nAddress=0102\r\n");
    this->Open();
    ASSERT_EQ(this->view.Messages.size(), 1u);
    EXPECT_THAT(this->view.Messages[0].Text, ::testing::HasSubstr("database.ini:3: error:"));
    EXPECT_THAT(this->view.Messages[0].Text, ::testing::HasSubstr("vmxdiag-cli check"));
}

TYPED_TEST(WindowPolling, WithNoPortStartOnlySetsTheCaption) {
    this->Open();
    EXPECT_EQ(this->view.Messages.size(), 1u);
    this->window->ADiagExecute();
    EXPECT_FALSE(this->window->Polling);
    EXPECT_FALSE(this->view.TimerOn);
    EXPECT_EQ(this->view.StartStopCaption, "Старт F5");
}

TYPED_TEST(WindowPolling, AnUnconvertibleAddressEndsTheStartUpWithItsMessage) {
    this->ecus.AddEcu("COM1");
    WriteBytes(this->folder / "database.ini", "[0003]\r\nAddress=12G\xC0\r\n");
    try {
        this->Open();
        FAIL() << "started";
    } catch (const ConversionError& error) {
        EXPECT_EQ(StartUpFailureText(error), "'0x12GА' is not a valid integer value");
    }
    EXPECT_TRUE(this->ecus.Frames("COM1").empty());
}

// --- Ticks of a parameter page ---

TYPED_TEST(WindowPolling, FirstTickSelectsAndShowsTheSecondOnlyReads) {
    this->ecus.AddEcu("COM1");
    this->Open();
    this->window->ADiagExecute();
    EXPECT_EQ(this->view.StartStopCaption, "Стоп F5");
    EXPECT_TRUE(this->view.TimerOn);
    auto frames = this->Tick();
    EXPECT_EQ(frames.size(), 17u);
    EXPECT_EQ(this->view.Panels[0], "No connecting");  // Start cleared the link flag
    EXPECT_EQ(this->view.Panels[1], "0");
    EXPECT_EQ(this->view.FilledValues(0), 16);
    frames = this->Tick();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Bytes, Frames::LiveBlock.Bytes);
    EXPECT_EQ(this->view.Panels[0], "\xD0\xA1onnecting");  // Cyrillic Es, not Latin C
    EXPECT_EQ(this->view.Panels[1], "1");
    EXPECT_TRUE(this->view.TimerOn);
}

TYPED_TEST(WindowPolling, ARefusalStopsTheSelectionAndLeavesTheLaterValuesEmpty) {
    this->ecus.AddEcu("COM1");
    this->Open();
    this->ecus.RefuseSlot("COM1", 5, 0x3F);
    this->window->ADiagExecute();
    auto frames = this->Tick();
    ASSERT_EQ(frames.size(), 7u);  // slots 0 to 5, then the block
    EXPECT_TRUE(IsSelection(frames[5], 5));
    EXPECT_EQ(frames[6].Bytes, Frames::LiveBlock.Bytes);
    for (int row = 0; row < 16; ++row) EXPECT_EQ(this->view.Value(0, row).empty(), row >= 5) << row;
    this->ecus.ClearRefusals("COM1");
    frames = this->Tick();
    ASSERT_EQ(frames.size(), 17u);
    EXPECT_TRUE(IsSelection(frames[0], 0));
    EXPECT_EQ(this->view.FilledValues(0), 16);
}

TYPED_TEST(WindowPolling, AnyKeySelectsAgainAndF2TurnsToTheSecondSet) {
    this->ecus.AddEcu("COM1");
    this->Open();
    this->StartPolling();
    this->window->FormShortCut(40);  // an arrow key
    EXPECT_EQ(this->Tick().size(), 17u);
    this->window->PageControl1Change();  // a click on the tab of the page on view
    EXPECT_EQ(this->Tick().size(), 17u);
    const std::string firstSetValue = this->view.Value(0, 0);

    this->window->FormShortCut(VirtualKey::F1 + 1);
    EXPECT_EQ(this->view.Page, 1);
    const auto frames = this->Tick();
    ASSERT_EQ(frames.size(), 17u);
    const auto address = this->Session().Definitions.Parameters[16].Address;
    EXPECT_EQ(frames[0].Bytes, Frames::Select(0, static_cast<std::uint16_t>(address)).Bytes);
    EXPECT_EQ(this->view.FilledValues(1), 16);
    EXPECT_EQ(this->view.Value(0, 0), firstSetValue);  // kept from its last update
}

TYPED_TEST(WindowPolling, LanguageSwitchWhilePollingSelectsTheShownSetAgain) {
    this->ecus.AddEcu("COM1");
    this->Open();
    this->StartPolling();
    this->window->LanguageBtnClick();
    EXPECT_EQ(this->view.StartStopCaption, "Stop F5");
    EXPECT_EQ(this->view.FilledValues(0), 0);
    const auto frames = this->Tick();
    ASSERT_EQ(frames.size(), 17u);
    for (int slot = 0; slot < 16; ++slot) {
        const auto address = this->Session().Definitions.Parameters[slot].Address;
        EXPECT_EQ(frames[slot].Bytes,
                  Frames::Select(slot, static_cast<std::uint16_t>(address)).Bytes);
    }
    EXPECT_EQ(this->view.FilledValues(0), 16);
    EXPECT_EQ(this->view.Cells[0][0][1], "Engine speed");
}

// --- Start, Stop and F8 ---

TYPED_TEST(WindowPolling, F8WhileIdleClearsAndStartsTheTicksAndStartStopsThemAfterwards) {
    this->ecus.AddEcu("COM1");
    this->ecus.SetErrorBitmap("COM1", {0x01});
    this->Open();
    this->ecus.ClearLog("COM1");
    this->window->FormShortCut(VirtualKey::F8);
    this->window->AResetErrorsExecute();
    const auto frames = this->ecus.Frames("COM1");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Bytes, Frames::ClearErrors.Bytes);
    EXPECT_EQ(this->ecus.ErrorBitmap("COM1"), (std::array<std::uint8_t, 16>{}));
    EXPECT_TRUE(this->view.TimerOn);
    EXPECT_FALSE(this->window->Polling);
    EXPECT_EQ(this->view.StartStopCaption, "Старт F5");

    this->window->ADiagExecute();
    EXPECT_TRUE(this->window->Polling);
    EXPECT_EQ(this->view.StartStopCaption, "Стоп F5");
    EXPECT_TRUE(this->view.TimerOn);
    this->window->ADiagExecute();
    EXPECT_FALSE(this->window->Polling);
    EXPECT_FALSE(this->view.TimerOn);
}

// F5 to F9 run their actions wherever the view hears them; any other key none.
TYPED_TEST(WindowPolling, TheActionKeysRunTheirActionsAndNoOtherKeyDoes) {
    this->ecus.AddEcu("COM1");
    this->Open();
    this->ecus.ClearLog("COM1");
    for (int key : {VirtualKey::F4, VirtualKey::F9 + 1, 0, 40})
        EXPECT_FALSE(this->window->ActionKey(key)) << key;
    EXPECT_TRUE(this->ecus.Frames("COM1").empty());
    EXPECT_FALSE(this->window->Polling);

    EXPECT_TRUE(this->window->ActionKey(VirtualKey::F5));
    EXPECT_TRUE(this->window->Polling);
    EXPECT_TRUE(this->window->ActionKey(VirtualKey::F6));
    EXPECT_TRUE(this->window->Logging());
    EXPECT_TRUE(this->window->ActionKey(VirtualKey::F7));
    EXPECT_TRUE(this->view.TrendShown);
    EXPECT_TRUE(this->window->ActionKey(VirtualKey::F8));
    const auto frames = this->ecus.Frames("COM1");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Bytes, Frames::ClearErrors.Bytes);
}

TYPED_TEST(WindowPolling, StopThenStartCountsReadsFromZeroAgain) {
    this->ecus.AddEcu("COM1");
    this->Open();
    this->StartPolling();
    this->Tick();
    EXPECT_EQ(this->view.Panels[1], "1");
    this->window->ADiagExecute();
    this->window->ADiagExecute();
    EXPECT_EQ(this->Tick().size(), 17u);
    EXPECT_EQ(this->view.Panels[1], "0");
}

// A port change whose open fails during polling: the ticks go on and fail;
// Stop then only sets the caption, until a port is open again.
TYPED_TEST(WindowPolling, APortThatDoesNotOpenKeepsTheTicksGoingUntilStopOnAnOpenPort) {
    this->ecus.AddEcu("COM1");
    this->Open();
    this->StartPolling();
    this->window->ComNumberChange("COM7");
    EXPECT_FALSE(this->Session().Line.IsOpen());
    this->window->Timer1Timer();
    this->window->Timer1Timer();
    EXPECT_EQ(this->view.Panels[0], "No connecting");
    this->window->ADiagExecute();
    EXPECT_TRUE(this->window->Polling);
    EXPECT_TRUE(this->view.TimerOn);
    EXPECT_EQ(this->view.StartStopCaption, "Старт F5");
    this->window->ComNumberChange("COM1");
    EXPECT_EQ(this->Tick().size(), 17u);  // the failed ticks cleared the link flag
    this->window->ADiagExecute();
    EXPECT_FALSE(this->window->Polling);
    EXPECT_FALSE(this->view.TimerOn);
}

// --- Closing ---

TYPED_TEST(WindowPolling, ClosingWhilePollingClosesThePortAndWritesOnlyTheLanguage) {
    this->ecus.AddEcu("COM1");
    const std::string before = ReadBytes(this->folder / "database.ini");
    this->Open();
    this->StartPolling();
    this->window->LanguageBtnClick();
    EXPECT_TRUE(this->window->FormCloseQuery());
    EXPECT_FALSE(this->window->Polling);
    EXPECT_FALSE(this->ecus.PortIsFree("COM1"));
    this->window.reset();

    std::string expected = before;
    const std::size_t at = expected.find("Language=RU");
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, 11, "Language=EN");
    EXPECT_EQ(ReadBytes(this->folder / "database.ini"), expected);
    EXPECT_TRUE(this->ecus.PortIsFree("COM1")) << "the window still holds the port";
    EXPECT_TRUE(this->view.Messages.empty());
}

// Fixed fault: values that were not refreshed looked live, bright green.
TYPED_TEST(WindowPolling, AFailedReadShowsTheListsValuesStaleUntilItsNextGoodRead) {
    this->ecus.AddEcu("COM1");
    this->Open();
    this->StartPolling();
    const std::string before = this->view.Value(0, 0);
    SimFaults faults;
    faults.Unanswered = {0x84};
    this->ecus.SetFaults("COM1", faults);
    this->Tick();
    EXPECT_TRUE(this->view.Stale[0]);
    EXPECT_FALSE(this->view.Stale[1]);
    EXPECT_EQ(this->view.Value(0, 0), before);  // kept, marked stale
    this->ecus.SetFaults("COM1", {});
    this->Tick();  // selects the set again and reads a good block
    EXPECT_FALSE(this->view.Stale[0]);
    EXPECT_EQ(this->view.FilledValues(0), 16);

    // On the second set's page only its list greys.
    this->Tick(1);
    this->ecus.SetFaults("COM1", faults);
    this->Tick();
    EXPECT_TRUE(this->view.Stale[1]);
    EXPECT_FALSE(this->view.Stale[0]);
}

// --- A lost adapter ---

TYPED_TEST(WindowPolling, AReplugedAdapterBringsTheValuesBackWithoutTheUser) {
    this->ecus.AddEcu("COM1");
    this->Open();
    this->StartPolling();
    this->ecus.Unplug("COM1");
    this->window->Timer1Timer();
    this->window->Timer1Timer();
    EXPECT_EQ(this->view.Panels[0], "No connecting");
    EXPECT_EQ(this->view.Panels[1], "0");
    this->ecus.Replug("COM1");
    EXPECT_EQ(this->Tick().size(), 18u);  // probe, sixteen selections, block
    EXPECT_EQ(this->view.Panels[1], "1");
    EXPECT_TRUE(this->view.Messages.empty());
}

}  // namespace
