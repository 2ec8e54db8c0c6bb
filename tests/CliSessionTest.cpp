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

TEST_F(CliSession, FailedBlocksAreReportedWithoutEndingTheRun) {
    SimFaults faults;
    faults.ShortBy = 1;
    simulator.SetFaults(faults);
    const CommandRun run = Run("live --format csv --count 2 --interval 0 --port COM1");
    EXPECT_NE(run.status, 0);
    EXPECT_THAT(run.output, HasSubstr("Read 1: no live block"));
    EXPECT_THAT(run.output, HasSubstr("Read 2: no live block"));
    EXPECT_THAT(run.output, HasSubstr("0 of 2 reads succeeded"));
}

TEST_F(CliSession, CtrlCEndsTheRunCleanlyWithThePortClosed) {
    const std::string cli = VMXDIAG_CLI_PATH;
    const std::string log = (folder / "live.log").string();
    const std::string command = "cd '" + folder.Path().string() + "' && exec '" + cli +
                                "' live --format csv --interval 50 >'" + log + "' 2>&1";
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ),
              0);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    ::kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by a signal instead of ending cleanly";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_THAT(ReadBytes(log), HasSubstr("reads succeeded"));
    // The port was given back: it opens again at once.
    EXPECT_EQ(Run("probe").status, 0);
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

TEST_F(CliSession, ClearErrorsEmptiesTheErrorMemory) {
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[3] = 0x10;
    simulator.SetErrorBitmap(bitmap);
    EXPECT_EQ(Run("clear-errors").status, 0);
    EXPECT_EQ(simulator.ErrorBitmap(), (std::array<std::uint8_t, 16>{}));
    EXPECT_EQ(Run("errors", false).output, "Quantity of errors: 0\n");
}

#endif
