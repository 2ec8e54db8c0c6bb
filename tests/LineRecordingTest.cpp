// The line recording on scripted bytes: what the recorder writes reads back
// and plays through the tool's requests to the outcomes and values the
// session had; a cut or damaged text is refused at its line.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/ValueText.h"
#include "line/LivePolling.h"
#include "recording/RecordedLiveValues.h"
#include "recording/RecordingPlayback.h"
#include "support/LinkPort.h"
#include "support/RecordingSink.h"
#include "support/ScratchFolder.h"
#include "support/ScriptedLink.h"

using ::testing::HasSubstr;

namespace {

// Each slot's value as the live page shows it, "-" where none is shown.
std::vector<std::string> Shown(const ParameterSets& sets) {
    std::vector<std::string> texts;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const auto value = ShownValue(sets, slot);
        texts.push_back(value ? ValueText(*value, sets.Slots[slot]->Digits) : "-");
    }
    return texts;
}

}  // namespace

// --- Recording and playing back ---

// A probe, a selection refused at slot 2 with a good block after it, then a
// whole selection with a block that comes short, recorded by the line object
// into its file: the replay judges each request as the session did and shows
// the same values.
TEST(LineRecording, ASessionPlaysBackToItsOutcomesAndValues) {
    const DefinitionDatabase definitions(VMX_SOURCE_DIR "/data/database.ini");
    ScriptedLink scripted;
    scripted.QueueReply({0x09, 0x80, 0x28, 0x00, 0x05, 0x00, 0x03, 0x00, 0xE9, 0x03});
    scripted.QueueReply({0x09});
    scripted.QueueReply({0x09});
    scripted.QueueReply({0x2F});
    ScriptedLink::Bytes block = {0x09, 0x20};
    for (int i = 0; i < 32; ++i) block.push_back(static_cast<std::uint8_t>(0x31 * i + 7));
    scripted.QueueReply(block);
    for (int i = 0; i < SlotCount; ++i) scripted.QueueReply({0x09});
    scripted.QueueReply(ScriptedLink::Bytes(block.begin(), block.begin() + 20));

    ScratchFolder folder;
    RecordingSink sink;
    EcuLine line(sink, std::make_unique<LinkPort>(scripted));
    ASSERT_TRUE(line.RecordInto((folder / "session.rec").string()));
    line.Open("COM1");
    ParameterSets sets(definitions.Parameters);
    ASSERT_TRUE(line.Ecu().Probe());
    bool linkOk = false;
    ASSERT_TRUE(PollLiveData(line, sets, 0, linkOk));
    const std::vector<std::string> seen = Shown(sets);
    EXPECT_EQ(seen[2], "-");
    EXPECT_FALSE(PollLiveData(line, sets, 0, linkOk));
    ASSERT_TRUE(line.SaveRecording());
    const std::string text = ReadBytes(folder / "session.rec");

    LineRecording recording;
    ASSERT_FALSE(ParseRecording(text, recording)) << text;
    ASSERT_EQ(recording.Ports.size(), 1u);
    EXPECT_EQ(recording.Ports[0].Text, "COM1");
    RecordingPlayer player(recording);
    RecordedLiveValues live(definitions);
    std::vector<std::string> outcomes;
    PlayedRequest played;
    while (player.Next(played)) {
        EXPECT_FALSE(played.Mismatch) << played.Mismatch->Line << ": " << played.Mismatch->Message;
        if (played.Request == RecordedRequest::Select) {
            live.Select(played.Slot, played.Address, played.Status, player.Ecu().SelectionAnswer);
            outcomes.push_back("select " + std::to_string(played.Status));
        } else if (played.Request == RecordedRequest::LiveBlock) {
            outcomes.push_back(played.Succeeded ? "block" : "no block");
            if (!played.Succeeded) continue;
            live.ComputeValues(player.Buffer().data());
            EXPECT_EQ(Shown(live.Sets()), seen);
        } else {
            outcomes.push_back(played.Succeeded ? "probe " + player.Ecu().ProgramVersion : "?");
        }
    }
    std::vector<std::string> expected = {"probe 40.3.5", "select 0", "select 0", "select -2",
                                         "block"};
    expected.insert(expected.end(), SlotCount, "select 0");
    expected.push_back("no block");
    EXPECT_EQ(outcomes, expected);
}

// --- Reading a recording strictly ---

TEST(LineRecording, CutOrDamagedTextIsRefusedAtItsLine) {
    const std::string head = "vmxdiag line recording 1\n";
    const std::string write = "10 > 09 80 00 00 00 89\n";
    const struct {
        std::string Text;
        std::size_t Line;
        const char* Says;
    } cases[] = {
        {"", 1, "empty"},
        {"vmxdiag line recording 2\n", 1, "format '2'"},
        {"time,NMOT\n", 1, "not a line recording"},
        {head + write + "20 < echo 09 80 00 00 00 89\n30 < read 10 09 80", 4, "cut short"},
        {head + write, 2, "no echo line after it"},
        {head + write + "20 < byte 09\n", 3, "not followed by its echo"},
        {head + "10 < echo 09\n", 2, "follows no write"},
        {head + "20 purge\n# a note\n10 purge\n", 4, "time goes back"},
        {head + "10 < read 2 01 02 03\n", 2, "at most 2"},
        {head + "10 < byte 0G\n", 2, "'0G' is not a byte"},
        {head + "1e3 purge\n", 2, "instead of the time"},
        {head + write + "port COM2\n", 3, "port line between the write of line 2 and its echo"},
        {head + "port COM1\r\r\n", 2, "control character"},
        {head + "10  purge\n", 2, "a space too many"},
        {head + "10 < peek 01\n", 2, "unknown kind"},
        {head + std::string("10 > \0\xFF\n", 8), 2, "not a byte"},
    };
    for (const auto& c : cases) {
        LineRecording recording;
        const auto fault = ParseRecording(c.Text, recording);
        ASSERT_TRUE(fault) << c.Text;
        EXPECT_EQ(fault->Line, c.Line) << c.Text;
        EXPECT_THAT(fault->Message, HasSubstr(c.Says)) << c.Text;
        EXPECT_TRUE(recording.Transfers.empty());
    }
    // What an editor may leave in: CR LF line ends, comments, blank lines.
    LineRecording recording;
    EXPECT_FALSE(ParseRecording(
        "vmxdiag line recording 1\r\nport COM1\r\n# engine stalls here\r\n\r\n" +
            std::string("10 > 09 80 00 00 00 89\r\n20 < echo 09 80\r\n30 < read 10\r\n") +
            "port COM2 /dev/ttyUSB1\r\n",
        recording));
    // A port line after transfers: the port was changed, or opened again.
    ASSERT_EQ(recording.Ports.size(), 2u);
    EXPECT_EQ(recording.Ports[0].Text, "COM1");
    EXPECT_EQ(recording.Ports[0].Before, 0u);
    EXPECT_EQ(recording.Ports[1].Text, "COM2 /dev/ttyUSB1");
    EXPECT_EQ(recording.Ports[1].Before, 3u);
    EXPECT_EQ(RecordingText(recording),
              "vmxdiag line recording 1\nport COM1\n10 > 09 80 00 00 00 89\n20 < echo 09 80\n"
              "30 < read 10\nport COM2 /dev/ttyUSB1\n");
    ASSERT_EQ(recording.Transfers.size(), 3u);
    EXPECT_EQ(recording.Transfers[2].Asked, 10u);
    EXPECT_TRUE(recording.Transfers[2].Bytes.empty());
}
