// vmxdiag-cli --record, replay and the simulator answering from a recording,
// against the simulator on a pseudo-terminal.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <mutex>
#include <regex>
#include <sstream>

#include "platform/RegularFile.h"
#include "recording/RecordingPlayback.h"
#include "sim/posix/EcuSimulator.h"
#include "support/CliRun.h"
#include "support/ScratchFolder.h"

#ifdef VMXDIAG_CLI_PATH

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

// The lines of a CSV log of sixteen values without their time column, which
// differs between a reading and its replay; messages among them are left out.
std::vector<std::string> WithoutTime(const std::string& csv) {
    std::vector<std::string> values;
    for (const std::string& line : Lines(csv))
        if (std::count(line.begin(), line.end(), ',') == 16)
            values.push_back(line.substr(line.find(',')));
    return values;
}

std::string Replaced(const std::string& text, const std::string& pattern, const std::string& by) {
    return std::regex_replace(text, std::regex(pattern), by);
}

class RecordReplay : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(fs::path(VMX_SOURCE_DIR) / "data" / "database.ini", folder / "database.ini");
        simulator.CreateLink(folder / "dosdevices" / "COM1");
    }
    CommandRun Run(const std::string& arguments, bool withErrors = true) {
        return RunCli(folder.Path(), arguments, withErrors);
    }
    // A live reading of three blocks, recorded into rec.txt; its CSV log.
    std::string RecordLive() {
        const CommandRun run =
            Run("live --format csv --count 3 --interval 0 --record rec.txt", false);
        EXPECT_EQ(run.status, 0) << run.output;
        return run.output;
    }

    ScratchFolder folder;
    EcuSimulator simulator;
};

}  // namespace

TEST_F(RecordReplay, ReplayShowsTheRecordedValuesAlsoThroughAnotherDefinitionFile) {
    const std::string live = RecordLive();
    const CommandRun replay = Run("replay rec.txt --format csv", false);
    ASSERT_EQ(replay.status, 0) << replay.output;
    EXPECT_EQ(WithoutTime(replay.output), WithoutTime(live));
    ASSERT_EQ(WithoutTime(live).size(), 4u) << live;

    // Another file: the first two definitions change places and every value
    // is the raw word. Columns follow the recorded addresses, not the sections.
    std::string other = ReadBytes(folder / "database.ini");
    other = Replaced(other, "\\[0000\\]", "[swap]");
    other = Replaced(other, "\\[0001\\]", "[0000]");
    other = Replaced(other, "\\[swap\\]", "[0001]");
    other = Replaced(other, "Formula=[^\r]*", "Formula=X");
    other = Replaced(other, "Digits=[0-9]+", "Digits=0");
    other = Replaced(other, "Signed=1", "Signed=0");
    WriteBytes(folder / "database.ini", other);
    const CommandRun raw = Run("replay rec.txt --format csv --lang en", false);
    ASSERT_EQ(raw.status, 0) << raw.output;
    EXPECT_THAT(raw.output, StartsWith("time,NMOT [rpm],TWAT [°C],"));
    const std::string recording = ReadBytes(folder / "rec.txt");
    const std::size_t lastBlock = recording.rfind("< read 32 ");
    ASSERT_NE(lastBlock, std::string::npos) << recording;
    const std::string words = recording.substr(lastBlock + 9, 3 * 32);
    std::string expected;
    for (std::size_t i = 0; i < 32; i += 2) {
        const unsigned low = std::stoul(words.substr(3 * i + 1, 2), nullptr, 16);
        const unsigned high = std::stoul(words.substr(3 * i + 4, 2), nullptr, 16);
        expected += "," + std::to_string(high << 8 | low);
    }
    EXPECT_EQ(WithoutTime(raw.output).back(), expected);

    // A recording cut within its last line (the last live block) plays up to
    // there, and says where it was cut.
    const std::size_t lines = std::count(recording.begin(), recording.end(), '\n');
    WriteBytes(folder / "cut.txt", recording.substr(0, recording.size() - 10));
    const CommandRun cut = Run("replay cut.txt --format csv --lang en");
    EXPECT_EQ(cut.status, 0) << cut.output;
    EXPECT_THAT(cut.output, HasSubstr("cut.txt:" + std::to_string(lines) +
                                      ": warning: the line has no end: the recording is cut "
                                      "short; what comes before is played\n"));
    std::vector<std::string> played = WithoutTime(raw.output);
    played.pop_back();
    EXPECT_EQ(WithoutTime(cut.output), played);
}

TEST_F(RecordReplay, TheSimulatorAnswersFromTheRecordingUntilItIsUsedUp) {
    const std::string live = RecordLive();
    std::string text;
    ASSERT_EQ(ReadRegularFile(folder / "rec.txt", text).Outcome, FileReadOutcome::Read);
    LineRecording recording;
    ASSERT_FALSE(ParseRecording(text, recording));
    std::mutex mutex;
    std::vector<std::string> stops;
    EcuSimulator::Options options;
    options.Replay = RecordedExchanges(recording);
    options.ReplayStopped = [&](const std::string& why) {
        std::lock_guard lock(mutex);
        stops.push_back(why);
    };
    EcuSimulator replayed(options);

    // One read more than recorded: it goes unanswered, and so does the selection after it.
    const CommandRun run =
        Run("live --format csv --count 5 --interval 0 --port " + replayed.DevicePath());
    EXPECT_EQ(run.status, 1);
    std::vector<std::string> values = WithoutTime(run.output);
    ASSERT_GE(values.size(), 4u) << run.output;
    values.resize(4);
    EXPECT_EQ(values, WithoutTime(live));
    EXPECT_THAT(run.output, HasSubstr("3 of 5 reads succeeded"));
    std::lock_guard lock(mutex);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_THAT(stops[0], HasSubstr("used up after 20 requests"));
}

TEST_F(RecordReplay, RecordingsOfErrorsAndInformationReplayTheirTexts) {
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[0] = 0x01;  // error 0
    simulator.SetErrorBitmap(bitmap);
    ASSERT_EQ(Run("errors --record errors.txt").status, 0);
    const CommandRun errors = Run("replay errors.txt --lang en");
    EXPECT_EQ(errors.status, 0) << errors.output;
    EXPECT_THAT(errors.output, HasSubstr("\nP0115"));
    EXPECT_THAT(errors.output, HasSubstr("Quantity of errors: 1"));

    ASSERT_TRUE(
        simulator.WaitForQuietLine(std::chrono::milliseconds(100), std::chrono::seconds(20)));
    ASSERT_EQ(Run("info --record info.txt").status, 0);
    const CommandRun info = Run("replay info.txt --lang en");
    EXPECT_EQ(info.status, 0) << info.output;
    EXPECT_THAT(info.output, HasSubstr("Program version 40.3.5"));
    EXPECT_THAT(info.output, HasSubstr("Vehicle Identification Number X9L21230060123456"));
}

// A recording that cannot be written never stops the reading; one that cannot
// be created stops the command before anything is sent. Fixed faults: under a
// file-size limit the tool died of its signal after a few rows without a
// word, and a full disk left the recording's last line cut, after which
// replay refused the whole file.
TEST_F(RecordReplay, ARecordingThatFailsStopsOnceAndTheReadingGoesOn) {
    // A file that may not grow past 512 bytes, as on a full disk; the tool
    // handles the limit's signal itself.
    std::signal(SIGXFSZ, SIG_DFL);
    const CommandRun full =
        RunShell("cd '" + folder.Path().string() + "' && ulimit -f 1 && '" + VMXDIAG_CLI_PATH +
                 "' live --format csv --count 3 --interval 0 --record full.rec");
    EXPECT_EQ(full.status, 0) << full.output;
    EXPECT_THAT(full.output, HasSubstr("3 of 3 reads succeeded"));
    EXPECT_THAT(full.output, HasSubstr("The recording into full.rec stopped: File too large"));
    EXPECT_EQ(full.output.find("recording"), full.output.rfind("recording")) << full.output;
    const std::string kept = ReadBytes(folder / "full.rec");
    EXPECT_TRUE(kept.ends_with('\n')) << kept;
    const CommandRun replay = Run("replay full.rec");
    EXPECT_EQ(replay.status, 0) << replay.output;
    EXPECT_THAT(replay.output, ::testing::Not(HasSubstr("warning")));

    simulator.ClearLog();
    const CommandRun nowhere = Run("info --record missing/info.txt");
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_THAT(nowhere.output, HasSubstr("the recording missing/info.txt cannot be created"));
    EXPECT_TRUE(simulator.ReceivedFrames().empty());
}

// Fixed fault: --record wrote its text onto the ECU's own port, replaced
// database.ini, and a recording made before, without a word.
TEST_F(RecordReplay, ARecordingGoesOnlyIntoANewRegularFileUnlessForced) {
    const std::string definitions = ReadBytes(folder / "database.ini");
    for (const char* target : {"dosdevices/COM1", "database.ini", "COM1.rec"}) {
        const CommandRun refused = Run(std::string("errors --record ") + target + " --force");
        EXPECT_EQ(refused.status, 1) << target;
        EXPECT_THAT(refused.output, HasSubstr("cannot be created")) << target;
    }
    EXPECT_TRUE(simulator.ReceivedFrames().empty());
    EXPECT_EQ(ReadBytes(folder / "database.ini"), definitions);

    WriteBytes(folder / "errors.rec", "kept\n");
    const CommandRun kept = Run("errors --record errors.rec");
    EXPECT_EQ(kept.status, 1);
    EXPECT_THAT(kept.output, HasSubstr("a file of that name exists (--force replaces it)"));
    EXPECT_EQ(ReadBytes(folder / "errors.rec"), "kept\n");
    ASSERT_EQ(Run("errors --record errors.rec --force").status, 0);
    const CommandRun replay = Run("replay errors.rec");
    EXPECT_EQ(replay.status, 0) << replay.output;
    EXPECT_THAT(
        replay.output,
        ::testing::MatchesRegex(
            "Recording of COM1 [^\n]*, started 2[0-9-]+ [0-9:]+: [0-9]+ transfers\n(.|\n)*"));
}

#endif
