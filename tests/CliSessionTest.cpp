// vmxdiag-cli against the simulator on a pseudo-terminal, as a mechanic runs
// it: in a folder with database.ini and dosdevices/COM1.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <regex>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "serial/SerialPort.h"
#include "sim/posix/EcuSimulator.h"
#include "support/ChildProcess.h"
#include "support/CliRun.h"
#include "support/PtyPair.h"
#include "support/ScratchFolder.h"

#ifdef VMXDIAG_CLI_PATH

namespace fs = std::filesystem;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

// A peer that keeps the line open: a tool's exclusive mark stays on the device
// unless the tool gives it back, so every run must end with the port closed.
EcuSimulator::Options PeerKeepingTheLineOpen() {
    EcuSimulator::Options options;
    options.LiftsExclusiveMark = false;
    return options;
}

class CliSession : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(fs::path(VMX_SOURCE_DIR) / "data" / "database.ini", folder / "database.ini");
        simulator.CreateLink(folder / "dosdevices" / "COM1");
        databaseBefore = ReadBytes(folder / "database.ini");
    }
    void TearDown() override {
        // The tool only ever reads database.ini.
        EXPECT_EQ(ReadBytes(folder / "database.ini"), databaseBefore);
    }
    CommandRun Run(const std::string& arguments, bool withErrors = true) {
        return RunCli(folder.Path(), arguments, withErrors);
    }
    std::string InFolder(const std::string& arguments) const {
        return "cd '" + folder.Path().string() + "' && exec '" VMXDIAG_CLI_PATH "' " + arguments;
    }

    // Starts the tool in the background, its output and errors going to Log().
    std::unique_ptr<ChildProcess> Start(const std::string& arguments) {
        return std::make_unique<ChildProcess>(InFolder(arguments) + " >'" + Log() + "' 2>&1");
    }
    std::string Log() const { return (folder / "live.log").string(); }
    // Waits, however slow the machine, until the log holds `text`.
    bool WaitForLog(const std::string& text) {
        for (int i = 0; i < 1200; ++i) {
            if (ReadBytes(Log()).find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return false;
    }
    // Before the next run: the ECU's answer to a request whose reader is gone
    // may still be on its way, and would land after the next run's open-purge.
    bool WaitForQuietLine() {
        return simulator.WaitForQuietLine(std::chrono::milliseconds(100), std::chrono::seconds(20));
    }
    // The ECU is switched off: the line still echoes.
    void SilenceTheEcu() {
        SimFaults faults;
        faults.Silent = true;
        simulator.SetFaults(faults);
    }
    // Every byte the ECU received belongs to a request frame.
    void ExpectOnlyFramesReceived() {
        EXPECT_GT(simulator.ReceivedFrames().size(), 0u);
        EXPECT_EQ(simulator.BytesReceived(), simulator.ReceivedFrames().size() * FrameSize);
    }

    ScratchFolder folder;
    EcuSimulator simulator{PeerKeepingTheLineOpen()};
    std::string databaseBefore;
};

}  // namespace

// --- ports and probe ---

TEST_F(CliSession, PortsListsTheNameWithItsDevice) {
    const CommandRun run = Run("ports");
    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.output, HasSubstr("COM1"));
    EXPECT_THAT(run.output, HasSubstr(simulator.DevicePath()));
}

TEST_F(CliSession, ProbeReportsVersionAndApplication) {
    const CommandRun run = Run("probe");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("program version 40.3.5, application identifier 1001"));
}

// Fixed fault: an empty --port read as no port at all, and every port was probed.
TEST_F(CliSession, ProbeOfADevicePathOfASilentEcuAndOfAnEmptyName) {
    EXPECT_EQ(Run("probe --port " + simulator.DevicePath()).status, 0);
    SilenceTheEcu();
    const CommandRun run = Run("probe");
    EXPECT_NE(run.status, 0);
    EXPECT_THAT(run.output, HasSubstr("no answer"));
    EXPECT_NE(Run("probe --port COM7").status, 0);

    ASSERT_TRUE(WaitForQuietLine());
    simulator.ClearLog();
    const CommandRun empty = Run("probe --port ''");
    EXPECT_NE(empty.status, 0);
    EXPECT_THAT(empty.output, HasSubstr("a port name or device is needed"));
    EXPECT_EQ(simulator.BytesReceived(), 0u);
}

// Fixed fault: a port held by another program was only "cannot be opened", or
// went unmentioned when the ports were searched. Fixed fault: probe said a
// port's trouble on standard output, among the ports tried.
TEST_F(CliSession, APortHeldByAnotherProgramIsSaidToBeInUse) {
    SerialPort other(folder.Path());
    ASSERT_TRUE(other.Open("COM1").Opened());
    const std::string shown = "COM1 (" + simulator.DevicePath() + ")";
    const CommandRun tried = Run("probe 2>/dev/null");
    EXPECT_EQ(tried.status, 1);
    EXPECT_EQ(tried.output, shown + ": not opened\n");
    EXPECT_EQ(Run("probe >/dev/null").output,
              "Port " + shown + ": in use by another program.\nNo ECU answered.\n");
    const CommandRun errors = Run("errors");
    EXPECT_NE(errors.status, 0);
    EXPECT_THAT(errors.output, HasSubstr("Port " + shown + ": in use by another program.\n"));
}

// Fixed fault: a device that is no serial line gave three raw lines of the
// window's message boxes ("Error: Could not retrieve serial port state.", ...).
TEST_F(CliSession, APortThatIsNoSerialLineIsSaidInOneSentence) {
    const CommandRun run = Run("info --port /dev/null");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output,
              "Port /dev/null: cannot be set up as a serial line (could not retrieve serial port "
              "state; could not modify serial port state; failed to retrieve timeouts).\n");
    // Fixed fault: a device that refused to open gave no reason.
    fs::create_directory(folder / "a folder");
    EXPECT_EQ(Run("probe --port '" + (folder / "a folder").string() + "' >/dev/null").output,
              "Port " + (folder / "a folder").string() +
                  ": cannot be opened (is a directory).\nNo ECU answered.\n");
    if (::geteuid() != 0) {  // the superuser opens any device
        ::chmod(simulator.DevicePath().c_str(), 0);
        EXPECT_THAT(Run("live --port COM1").output,
                    HasSubstr(": permission denied (add your user to the group dialout"));
    }
}

// Fixed fault: bytes a killed run left on the line were read as the next
// probe's echo and reply, which printed "version 0.32777.35072".
TEST_F(CliSession, AKilledRunLeavesNoGarbageForTheNextProbe) {
    auto child = Start("live --format csv --interval 0 --port COM1");
    ASSERT_TRUE(WaitForLog("\n20"));
    SimFaults lagging;
    lagging.LateLine = true;
    simulator.SetFaults(lagging);
    // Two more requests, so that the line surely owes the run an answer.
    const std::size_t before = simulator.ReceivedFrames().size();
    for (int i = 0; i < 2000 && simulator.ReceivedFrames().size() < before + 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_GE(simulator.ReceivedFrames().size(), before + 2);
    child->Signal(SIGKILL);
    EXPECT_EQ(child->Finish(), -1);
    // A killed tool cannot give its exclusive mark back; a real port forgets it
    // at the last close.
    simulator.LiftExclusiveMark();
    // Everything the run sent has reached the ECU, and the line owes it the answer.
    ASSERT_TRUE(WaitForQuietLine());
    simulator.SetFaults({});

    const CommandRun first = Run("probe --port COM1");
    EXPECT_NE(first.status, 0) << first.output;
    EXPECT_THAT(first.output, HasSubstr("no answer"));
    EXPECT_THAT(first.output, Not(HasSubstr("version")));
    ASSERT_TRUE(WaitForQuietLine());
    EXPECT_THAT(Run("probe --port COM1").output, HasSubstr("program version 40.3.5"));
}

// On a terminal the user sees the search go; where the output is kept, only
// its outcome is said.
TEST_F(CliSession, OnATerminalThePortsAreShownAsTheyAreSearched) {
    PtyPair silent, terminal;
    fs::remove(folder / "dosdevices" / "COM1");
    fs::create_symlink(silent.Device(), folder / "dosdevices" / "COM1");
    fs::create_symlink(simulator.DevicePath(), folder / "dosdevices" / "COM2");
    ASSERT_EQ(Run("errors 2>" + terminal.Device()).status, 0);
    std::string shown;
    for (std::uint8_t byte : terminal.Receive(4096, std::chrono::milliseconds(500)))
        if (byte != '\r') shown += static_cast<char>(byte);
    EXPECT_EQ(shown, "Looking for the ECU on every port:\n  COM1 (" + silent.Device() +
                         "): no answer\n  COM2 (" + simulator.DevicePath() +
                         "): the ECU answers\nCOM2 (" + simulator.DevicePath() +
                         "): ECU program version 40.3.5, application identifier 1001.\n");
    ASSERT_TRUE(WaitForQuietLine());
    EXPECT_THAT(Run("errors").output,
                StartsWith("COM2 (" + simulator.DevicePath() + "): ECU program version"));
}

// --- live ---

TEST_F(CliSession, LiveCsvLogsOneLinePerBlockInEitherStyle) {
    const CommandRun run = Run("live --format csv --count 3 --interval 0 --lang en", false);
    ASSERT_EQ(run.status, 0) << run.output;
    const auto lines = Lines(run.output);
    ASSERT_EQ(lines.size(), 4u) << run.output;
    EXPECT_THAT(lines[0], StartsWith("time,NMOT [rpm],TWAT [°C],"));
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), ','), 16) << lines[i];
        EXPECT_THAT(lines[i], Not(HasSubstr(";")));
    }
    // TWAT has one decimal: "85.0"-like, with a point.
    const std::string twat = lines[1].substr(lines[1].find(',', lines[1].find(',') + 1) + 1);
    EXPECT_EQ(twat.find('.'), twat.find(',') - 2) << lines[1];

    // For spreadsheets of the decimal comma: a byte-order mark, ';' between
    // fields, ',' before the decimals.
    const CommandRun sheet =
        Run("live --format csv-semicolon --count 1 --interval 0 --lang en", false);
    ASSERT_EQ(sheet.status, 0) << sheet.output;
    const auto rows = Lines(sheet.output);
    ASSERT_EQ(rows.size(), 2u) << sheet.output;
    EXPECT_THAT(rows[0], StartsWith("\xEF\xBB\xBFtime;NMOT [rpm];TWAT [°C];"));
    EXPECT_EQ(std::count(rows[1].begin(), rows[1].end(), ';'), 16) << rows[1];
    EXPECT_THAT(rows[1], MatchesRegex("[^;]+;-?[0-9]+;-?[0-9]+,[0-9];.*")) << rows[1];
}

// The table shows each value with its definition's decimals: none for NMOT,
// one for TWAT, two for UBAT.
TEST_F(CliSession, LiveTableShowsEachValueWithItsDigits) {
    const CommandRun run = Run("live --count 1 --lang en", false);
    ASSERT_EQ(run.status, 0) << run.output;
    const auto valueOf = [&](const std::string& code) {
        std::smatch match;
        const std::regex row("\n" + code + " {2,}.+? {2,}(\\S+) {2,}");
        return std::regex_search(run.output, match, row) ? match[1].str() : "(no row)";
    };
    EXPECT_THAT(valueOf("NMOT"), MatchesRegex("-?[0-9]+")) << run.output;
    EXPECT_THAT(valueOf("TWAT"), MatchesRegex("-?[0-9]+\\.[0-9]")) << run.output;
    EXPECT_THAT(valueOf("UBAT"), MatchesRegex("-?[0-9]+\\.[0-9][0-9]")) << run.output;
    // A run of a count stops by itself: no Ctrl+C is called for.
    EXPECT_THAT(run.output, HasSubstr("\nSet 1, read 1 of 1\n"));
    // The headers are the window's, in the chosen language.
    EXPECT_THAT(run.output, HasSubstr("\nCode  "));
    EXPECT_THAT(Run("live --count 1 --lang ru", false).output,
                MatchesRegex("(.|\n)*\nКод +Наименование +Значение +Ед.изм\n(.|\n)*"));
}

TEST_F(CliSession, LiveOfTheSecondSetSelectsItsAddresses) {
    const CommandRun run = Run("live --set 2 --format csv --count 1", false);
    ASSERT_EQ(run.status, 0);
    EXPECT_THAT(run.output, StartsWith("time,PATM ["));
    EXPECT_EQ(simulator.SlotAddress(0), 0x011E);
    EXPECT_EQ(simulator.SlotAddress(15), 0x013C);
}

TEST_F(CliSession, FailedBlocksAreReportedAndTheRunGoesOn) {
    auto child = Start("live --format csv --count 8 --interval 60 --port COM1");
    ASSERT_TRUE(WaitForLog("\n20"));  // the first line of values
    SimFaults faults;
    faults.ShortBy = 1;
    simulator.SetFaults(faults);
    EXPECT_TRUE(WaitForLog("no live block; the set is selected again"));
    simulator.SetFaults({});
    EXPECT_EQ(child->Finish(), 0);
    const std::string log = ReadBytes(Log());
    EXPECT_THAT(log, HasSubstr("of 8 reads succeeded"));
    EXPECT_THAT(log, Not(HasSubstr(" 8 of 8 reads")));
    EXPECT_THAT(log, Not(HasSubstr(" 0 of 8 reads")));
}

// Stops of every kind end the run through its normal end, which gives the
// port's exclusive mark back: the peer keeps the line open and would keep it.
// A stop is how a run without a count ends (0: its last read succeeded); one
// with a count it cuts short, which exits as the shell tells a signal.
TEST_F(CliSession, StopSignalsEndTheRunCleanlyWithThePortClosed) {
    const struct {
        int Stop;
        const char* Count;
        int Status;
    } stops[] = {{SIGINT, "", 0},
                 {SIGTERM, "--count 100000", 128 + SIGTERM},
                 {SIGHUP, "", 0},
                 {SIGQUIT, "--count 100000", 128 + SIGQUIT}};
    for (const auto& stop : stops) {
        SCOPED_TRACE(std::string(strsignal(stop.Stop)) + " " + stop.Count);
        ASSERT_TRUE(WaitForQuietLine());
        ::unlink(Log().c_str());
        auto child = Start("live --format csv --interval 50 " + std::string(stop.Count));
        ASSERT_TRUE(WaitForLog("\n20"));
        child->Signal(stop.Stop);
        EXPECT_EQ(child->Finish(), stop.Status) << "killed by the signal instead of ending cleanly";
        EXPECT_THAT(ReadBytes(Log()), HasSubstr("reads succeeded"));
        // The port was given back: it opens again at once.
        EXPECT_EQ(Run("probe").status, 0);
    }
}

// Fixed fault: SIGPIPE killed the run with the port's exclusive mark still set,
// and the next probe found the port in use.
TEST_F(CliSession, LiveIntoAReaderThatGoesAwayEndsWithThePortClosed) {
    const CommandRun run =
        RunShell("cd '" + folder.Path().string() +
                 "' && { '" VMXDIAG_CLI_PATH
                 "' live --format csv --interval 0; echo \"live ended: $?\" >&2; } | head -3");
    const auto lines = Lines(run.output);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.starts_with("time,") || line.starts_with("20");
                            }),
              3)
        << run.output;
    EXPECT_THAT(run.output, HasSubstr("the output was closed"));
    EXPECT_THAT(run.output, HasSubstr("live ended: 1"));
    ASSERT_TRUE(WaitForQuietLine()) << "the port was left exclusively held";
    EXPECT_EQ(Run("probe").status, 0);
}

// Fixed fault: with standard output and error closed the port became
// descriptor 1, and the CSV log and the summary went onto the line.
TEST_F(CliSession, ClosedStandardStreamsSendNothingButFramesToTheLine) {
    const CommandRun run = Run("live --format csv --count 3 --interval 0 >&- 2>&-");
    EXPECT_EQ(run.status, 0) << run.output;
    ExpectOnlyFramesReceived();
}

// Fixed fault: without database.ini every slot was selected at address 0000,
// and the run ended in "the ECU refused slot 0 (, address 0000)".
TEST_F(CliSession, LiveWithoutDefinitionsSaysSoAndSendsNothing) {
    fs::create_directory(folder / "elsewhere");
    fs::create_directory_symlink(folder / "dosdevices", folder / "elsewhere" / "dosdevices");
    const CommandRun missing = RunCli(folder / "elsewhere", "live --count 1");
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.output, StartsWith("There is no definition file: database.ini is not in " +
                                           (folder / "elsewhere").string() + ".\n"));
    EXPECT_THAT(missing.output, HasSubstr("Run vmxdiag-cli in the folder that holds"));
    WriteBytes(folder / "elsewhere" / "database.ini", "[Configuration]\r\nLanguage=EN\r\n");
    EXPECT_THAT(RunCli(folder / "elsewhere", "live --count 1").output,
                HasSubstr("defines no parameter (no section [0000] to [007F])"));
    EXPECT_TRUE(simulator.ReceivedFrames().empty());
}

// Fixed fault: a status byte the table does not know was reported as silence.
TEST_F(CliSession, RefusedSlotAndTheOnesAfterItAreNotShown) {
    simulator.RefuseSlot(14, 0x3F);
    const CommandRun run = Run("live --format csv --count 1 --lang en");
    EXPECT_NE(run.status, 0);
    EXPECT_THAT(run.output, HasSubstr("the ECU refused slot 14 (LOAD, address 011A), status -3"));
    const auto lines = Lines(run.output);
    const auto row = std::find_if(lines.begin(), lines.end(),
                                  [](const std::string& line) { return line.starts_with("20"); });
    ASSERT_NE(row, lines.end()) << run.output;
    EXPECT_TRUE(row->ends_with(",,")) << *row;
    EXPECT_THAT(run.output, HasSubstr("0 of 1 reads succeeded"));

    ASSERT_TRUE(WaitForQuietLine());
    simulator.RefuseSlot(14, 0x10);
    EXPECT_THAT(Run("live --format csv --count 1 --lang en").output,
                HasSubstr("slot 14 (LOAD, address 011A) with the unknown status byte 10"));
}

// Fixed fault: a run whose line was lost for good ended with status 0.
TEST_F(CliSession, LostLineIsReportedAndTheRunEndsAtItsCountAsFailed) {
    auto child = Start("live --format csv --count 6 --interval 20 --port COM1");
    ASSERT_TRUE(WaitForLog("\n20"));
    // Unplugged for good: the name stands for nothing any more. (The freed
    // pseudo-terminal's number may soon belong to another test's line.)
    fs::remove(folder / "dosdevices" / "COM1");
    fs::create_symlink(folder / "unplugged", folder / "dosdevices" / "COM1");
    simulator.HangUp();
    EXPECT_EQ(child->Finish(), 1);
    const std::string log = ReadBytes(Log());
    EXPECT_THAT(log, HasSubstr("The line to the ECU is lost"));
    EXPECT_THAT(log, HasSubstr("of 6 reads succeeded"));
    EXPECT_THAT(log, HasSubstr("the last read failed"));
}

// --- errors and clear-errors ---

TEST_F(CliSession, ErrorsListsCodesAndNamesWithTheirCount) {
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[0] = 0x01;   // error 0
    bitmap[15] = 0x80;  // error 127
    simulator.SetErrorBitmap(bitmap);
    const CommandRun run = Run("errors --lang en", false);
    EXPECT_EQ(run.status, 0);
    const auto lines = Lines(run.output);
    ASSERT_EQ(lines.size(), 3u) << run.output;
    EXPECT_THAT(lines[0], StartsWith("P0115"));
    EXPECT_EQ(lines[2], "Quantity of errors: 2");
}

// Fixed fault: with --port the clear was reported as sent on any line that
// echoes, with no ECU behind it.
TEST_F(CliSession, ClearErrorsOnAPortWithoutAnEcuFails) {
    SilenceTheEcu();
    const CommandRun run = Run("clear-errors --port COM1");
    EXPECT_NE(run.status, 0);
    EXPECT_THAT(run.output, HasSubstr("No ECU answers on COM1"));
    EXPECT_THAT(run.output, Not(HasSubstr("Clear request sent")));
}

// Fixed fault: an echo of four or five of the six bytes, made whole by the
// ECU's answer, counted as the clear request gone out.
TEST_F(CliSession, ClearErrorsWhoseEchoCameBackCutFails) {
    for (std::size_t echoed : {3u, 4u, 5u}) {
        SCOPED_TRACE(echoed);
        SimFaults faults;
        faults.PartialEcho = SimFaults::CutEcho{0x83, echoed};
        simulator.SetFaults(faults);
        const CommandRun run = Run("clear-errors --port COM1");
        EXPECT_NE(run.status, 0) << run.output;
        EXPECT_THAT(run.output, Not(HasSubstr("Clear request sent")));
        ASSERT_TRUE(WaitForQuietLine());
    }
}

TEST_F(CliSession, ClearErrorsEmptiesTheErrorMemoryAndReadsItBack) {
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[3] = 0x10;
    simulator.SetErrorBitmap(bitmap);
    const CommandRun run = Run("clear-errors");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "COM1 (" + simulator.DevicePath() +
                              "): ECU program version 40.3.5, application identifier 1001.\n"
                              "Quantity of errors: 0\nThe error memory is clear.\n");
    EXPECT_EQ(simulator.ErrorBitmap(), (std::array<std::uint8_t, 16>{}));
    // The ECU's answer to the clear is never read; it must not meet the next run.
    ASSERT_TRUE(WaitForQuietLine());
    EXPECT_EQ(Run("errors", false).output, "Quantity of errors: 0\n");
}

// Fixed fault: the clear was reported done whatever the ECU made of it.
TEST_F(CliSession, ClearErrorsThatDidNotTakeFailWithTheErrorsLeft) {
    EcuState state = simulator.State();
    state.KeepsErrors = true;
    state.ErrorBitmap[0] = 0x01;
    simulator.SetState(state);
    const CommandRun run = Run("clear-errors --lang en");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.output, HasSubstr("\nP0115"));
    EXPECT_THAT(run.output, HasSubstr("Quantity of errors: 1\n"));
    EXPECT_THAT(run.output, HasSubstr("The clear did not take: the ECU still lists 1 error.\n"));
}

TEST_F(CliSession, ClearErrorsAsksOnATerminalFirst) {
    for (const char* answer : {"n", "y"}) {
        SCOPED_TRACE(answer);
        PtyPair terminal;
        terminal.Send({static_cast<std::uint8_t>(answer[0]), '\n'});
        const CommandRun run = Run("clear-errors <" + terminal.Device());
        EXPECT_THAT(run.output, StartsWith("Clear the error memory of the ECU? Its stored errors "
                                           "are lost. [y/N] "));
        if (answer[0] == 'n') {
            EXPECT_EQ(run.status, 1);
            EXPECT_THAT(run.output, HasSubstr("Nothing was cleared."));
            EXPECT_TRUE(simulator.ReceivedFrames().empty());
        } else {
            EXPECT_EQ(run.status, 0) << run.output;
        }
    }
}

// --- info ---

TEST_F(CliSession, InfoShowsEveryFieldBesideTheWindowsLabel) {
    const CommandRun run = Run("info --lang en", false);
    ASSERT_EQ(run.status, 0) << run.output;
    const std::vector<std::pair<std::string, std::string>> fields{
        {"Program version", "40.3.5"},
        {"Application identifier", "1001"},
        {"Whole working time", "932:4"},
        {"Turnovers close to idle", "338:0"},
        {"High turnovers and small loads", "328:45"},
        {"The Mode of partial loads", "200:11"},
        {"The Mode of maximum loads", "65:8"},
        {"Rack zero position SRPOS", "25"},
        {"Manufacturer code", "VMX "},
        {"Production date", "15.06.2019"},
        {"Serial number", "21435"},
        {"User", "SERV1"},
        {"Date of last programming", "07.12.26"},
        {"Vehicle Identification Number", "X9L21230060123456"}};
    const auto lines = Lines(run.output);
    ASSERT_EQ(lines.size(), fields.size()) << run.output;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_THAT(lines[i], StartsWith(fields[i].first + " "));
        EXPECT_THAT(lines[i], EndsWith(" " + fields[i].second));
    }
}

// Fixed fault: a request after the counters that was not answered went
// unsaid, its fields shown empty or stale, and info exited with 0.
TEST_F(CliSession, InfoSaysARequestThatWasNotAnsweredAndFails) {
    SimFaults faults;
    faults.Unanswered = {static_cast<std::uint8_t>(Command::Vin)};
    simulator.SetFaults(faults);
    const CommandRun run = Run("info --lang en");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.output, HasSubstr("\nUser  "));
    EXPECT_THAT(run.output, Not(HasSubstr("Vehicle Identification Number")));
    EXPECT_THAT(run.output,
                EndsWith("The ECU did not answer the VIN request; its fields are left out.\n"));

    const CommandRun empty = Run("info --port ''");
    EXPECT_EQ(empty.status, 2);
    EXPECT_THAT(empty.output, HasSubstr("a port name or device is needed"));
}

// --- report ---

TEST_F(CliSession, ReportHoldsTheEcusValuesAsJsonOrAsAPageAndExitsZero) {
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[1] = 0x02;  // error 9
    simulator.SetErrorBitmap(bitmap);
    const CommandRun json = Run("report --format json --lang en --set 2", false);
    ASSERT_EQ(json.status, 0) << json.output;
    const auto report = nlohmann::ordered_json::parse(json.output);
    EXPECT_EQ(report["identification"]["vin"]["text"], "X9L21230060123456");
    EXPECT_EQ(report["counters"]["whole_working_time"]["text"], "932:4");
    EXPECT_EQ(report["errors"]["list"][0]["text"], "Camshaft sensor: no signal");
    EXPECT_EQ(report["values"]["set"], 2);
    EXPECT_EQ(report["complete"], true);

    // --language is the spelling of --lang.
    const CommandRun page = Run("report --language ru", false);
    ASSERT_EQ(page.status, 0) << page.output;
    EXPECT_THAT(page.output, StartsWith("<!DOCTYPE html>\n<html lang=\"ru\">"));
    EXPECT_THAT(page.output, HasSubstr("<td>P0340</td><td>Датчик распредвала: нет сигнала</td>"));
}

TEST_F(CliSession, AReportWithAPartUnansweredIsWrittenSayingWhichAndExitsOne) {
    SimFaults faults;
    faults.Unanswered = {static_cast<std::uint8_t>(Command::ErrorMemory)};
    simulator.SetFaults(faults);
    const CommandRun json = Run("report --format json", false);
    EXPECT_EQ(json.status, 1);
    const auto report = nlohmann::ordered_json::parse(json.output);
    EXPECT_EQ(report["errors"]["status"], "unanswered");
    EXPECT_EQ(report["unanswered"], nlohmann::ordered_json({"errors"}));
    EXPECT_EQ(report["counters"]["rack_zero_position"]["text"], "25");
    const CommandRun said = Run("report --format json");
    EXPECT_THAT(said.output, HasSubstr("The error memory could not be read.\n"));
}

TEST_F(CliSession, ReportOutputIsANewFileUnlessForcedAndUsageErrorsExitTwo) {
    const CommandRun first = Run("report --output 'the report.html'");
    ASSERT_EQ(first.status, 0) << first.output;
    EXPECT_THAT(first.output, Not(HasSubstr("<html")));
    const std::string written = ReadBytes(folder / "the report.html");
    EXPECT_THAT(written, StartsWith("<!DOCTYPE html>"));

    // Refused before anything is sent; the file stays as it was.
    const std::size_t frames = simulator.ReceivedFrames().size();
    const CommandRun again = Run("report --format json --output 'the report.html'");
    EXPECT_EQ(again.status, 1);
    EXPECT_THAT(again.output, HasSubstr("a file of that name exists (--force replaces it)"));
    EXPECT_EQ(ReadBytes(folder / "the report.html"), written);
    EXPECT_EQ(simulator.ReceivedFrames().size(), frames);
    const CommandRun definitions = Run("report --output database.ini --force");
    EXPECT_EQ(definitions.status, 1);
    EXPECT_THAT(definitions.output, HasSubstr("would be read as the definition file"));

    const CommandRun forced = Run("report --format json --output 'the report.html' --force");
    EXPECT_EQ(forced.status, 0) << forced.output;
    EXPECT_EQ(nlohmann::ordered_json::parse(ReadBytes(folder / "the report.html"))["complete"],
              true);

    for (const char* usage : {"report --force", "report --format xml", "report --set 3",
                              "report --lang de", "report --output ''"}) {
        SCOPED_TRACE(usage);
        EXPECT_EQ(Run(usage).status, 2);
    }
}

#endif
