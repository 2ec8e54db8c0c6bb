// vmxdiag-cli against the simulator on a pseudo-terminal, as a mechanic runs
// it: in a folder with database.ini and dosdevices/COM1.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "sim/EcuSimulator.h"
#include "support/CliRun.h"
#include "support/ScratchFolder.h"

#ifdef VMXDIAG_CLI_PATH

namespace fs = std::filesystem;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
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

    // Starts the tool in the background, its output and errors going to Log().
    pid_t Start(const std::string& arguments) {
        const std::string command = "cd '" + folder.Path().string() + "' && exec '" +
                                    VMXDIAG_CLI_PATH + "' " + arguments + " >'" + Log() + "' 2>&1";
        const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
        pid_t child = 0;
        if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ))
            return -1;
        return child;
    }
    std::string Log() const { return (folder / "live.log").string(); }
    // Waits, however slow the machine, until the log holds `text`.
    bool WaitForLog(const std::string& text) {
        for (int i = 0; i < 400; ++i) {
            if (ReadBytes(Log()).find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return false;
    }
    // The exit status of a started tool; -1 when a signal ended it.
    static int Finish(pid_t child) {
        int status = 0;
        if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
        return WEXITSTATUS(status);
    }

    ScratchFolder folder;
    EcuSimulator simulator;
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

TEST_F(CliSession, ProbeOfADevicePathAndOfASilentEcu) {
    EXPECT_EQ(Run("probe --port " + simulator.DevicePath()).status, 0);
    SimFaults faults;
    faults.Silent = true;
    simulator.SetFaults(faults);
    const CommandRun run = Run("probe");
    EXPECT_NE(run.status, 0);
    EXPECT_THAT(run.output, HasSubstr("no answer"));
    EXPECT_NE(Run("probe --port COM7").status, 0);
}

// --- live ---

TEST_F(CliSession, LiveCsvLogsOneLinePerBlockWithPointDecimals) {
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
}

TEST_F(CliSession, LiveOfTheSecondSetSelectsItsAddresses) {
    const CommandRun run = Run("live --set 2 --format csv --count 1", false);
    ASSERT_EQ(run.status, 0);
    EXPECT_THAT(run.output, StartsWith("time,PATM ["));
    EXPECT_EQ(simulator.SlotAddress(0), 0x011E);
    EXPECT_EQ(simulator.SlotAddress(15), 0x013C);
}

TEST_F(CliSession, FailedBlocksAreReportedAndTheRunGoesOn) {
    const pid_t child = Start("live --format csv --count 8 --interval 60 --port COM1");
    ASSERT_GT(child, 0);
    ASSERT_TRUE(WaitForLog("\n20"));  // the first line of values
    SimFaults faults;
    faults.ShortBy = 1;
    simulator.SetFaults(faults);
    EXPECT_TRUE(WaitForLog("no live block; the set is selected again"));
    simulator.SetFaults({});
    EXPECT_EQ(Finish(child), 0);
    const std::string log = ReadBytes(Log());
    EXPECT_THAT(log, HasSubstr("of 8 reads succeeded"));
    EXPECT_THAT(log, Not(HasSubstr(" 8 of 8 reads")));
    EXPECT_THAT(log, Not(HasSubstr(" 0 of 8 reads")));
}

TEST_F(CliSession, CtrlCEndsTheRunCleanlyWithThePortClosed) {
    const pid_t child = Start("live --format csv --interval 50");
    ASSERT_GT(child, 0);
    ASSERT_TRUE(WaitForLog("\n20"));
    ::kill(child, SIGINT);
    EXPECT_EQ(Finish(child), 0) << "killed by the signal instead of ending cleanly";
    EXPECT_THAT(ReadBytes(Log()), HasSubstr("reads succeeded"));
    // The port was given back: it opens again at once.
    EXPECT_EQ(Run("probe").status, 0);
}

// Fixed fault: after a refusal the slots from the refused one on still hold the
// ECU's earlier addresses, and their words were shown under this set's names.
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
}

TEST_F(CliSession, LostLineIsReportedAndTheRunEndsAtItsCount) {
    const pid_t child = Start("live --format csv --count 6 --interval 20 --port COM1");
    ASSERT_GT(child, 0);
    ASSERT_TRUE(WaitForLog("\n20"));
    simulator.HangUp();
    EXPECT_EQ(Finish(child), 0);
    const std::string log = ReadBytes(Log());
    EXPECT_THAT(log, HasSubstr("The line to the ECU is lost"));
    EXPECT_THAT(log, HasSubstr("of 6 reads succeeded"));
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
    SimFaults faults;
    faults.Silent = true;
    simulator.SetFaults(faults);
    const CommandRun run = Run("clear-errors --port COM1");
    EXPECT_NE(run.status, 0);
    EXPECT_THAT(run.output, HasSubstr("No ECU answers on COM1"));
    EXPECT_THAT(run.output, Not(HasSubstr("Clear request sent")));
}

TEST_F(CliSession, ClearErrorsEmptiesTheErrorMemory) {
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[3] = 0x10;
    simulator.SetErrorBitmap(bitmap);
    EXPECT_EQ(Run("clear-errors").status, 0);
    EXPECT_EQ(simulator.ErrorBitmap(), (std::array<std::uint8_t, 16>{}));
    EXPECT_EQ(Run("errors", false).output, "Quantity of errors: 0\n");
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

#endif
