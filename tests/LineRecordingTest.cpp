// The line recording on scripted bytes: what the recorder writes reads back
// and plays through the tool's requests to the outcomes and values the
// session had; a cut or damaged text is refused at its line.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "database/ValueText.h"
#include "line/LivePolling.h"
#include "recording/RecordedLiveValues.h"
#include "recording/RecordingFile.h"
#include "recording/RecordingPlayback.h"
#include "recording/RecordingReader.h"
#include "recording/RecordingTarget.h"
#include "support/LinkPort.h"
#include "support/RecordingSink.h"
#include "support/ScratchFolder.h"
#include "support/ScriptedLink.h"
#ifndef _WIN32
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/CliRun.h"
#include "support/PtyPair.h"
#endif

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

namespace {

// The lines of one request: its write, its whole echo, then its reads (each
// without the time), after a purge where the request makes one.
std::string Request(const RequestFrame& frame, std::vector<std::string> reads,
                    bool purgeFirst = false) {
    const std::string bytes = HexBytes(frame.Bytes.data(), FrameSize);
    std::string text = purgeFirst ? "10 purge\n" : "";
    text += "10 > " + bytes + "\n10 < echo " + bytes + "\n";
    for (const std::string& read : reads) text += "10 < " + read + "\n";
    return text;
}

const std::string ProbeReply = "read 10 09 80 28 00 05 00 03 00 E9 03";

// A live block of 32 bytes counting up from `first`.
std::string Block(int first) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 32; ++i) bytes.push_back(static_cast<std::uint8_t>(first + i));
    return "read 32 " + HexBytes(bytes.data(), bytes.size());
}

std::vector<PlayedRequest> PlayAll(const std::string& text, RecordedLiveValues* live = nullptr) {
    LineRecording recording;
    const auto fault = ParseRecording("vmxdiag line recording 1\n" + text, recording);
    EXPECT_FALSE(fault) << fault->Line << ": " << fault->Message;
    RecordingPlayer player(recording);
    std::vector<PlayedRequest> played;
    for (PlayedRequest request; player.Next(request);) {
        if (live && request.Request == RecordedRequest::Select)
            live->Select(request.Slot, request.Address, request.Status,
                         player.Ecu().SelectionAnswer);
        if (live && request.Request == RecordedRequest::LiveBlock && request.Succeeded)
            live->ComputeValues(player.Buffer().data());
        played.push_back(request);
    }
    return played;
}

}  // namespace

// A recording that does not follow the requests' exchanges fails the request
// where it parts from them; bytes before the first request belong to none.
TEST(LineRecording, PlaybackJudgesEachRequestByItsOwnTransfers) {
    const auto stale = PlayAll("10 < read 3 01 02 03\n" + Request(Frames::Probe, {ProbeReply}));
    ASSERT_EQ(stale.size(), 1u);
    EXPECT_TRUE(stale[0].Succeeded);
    EXPECT_FALSE(stale[0].Mismatch);

    const auto counted = PlayAll(Request(Frames::Probe, {"read 8 09 80 28 00 05 00 03 00"}));
    ASSERT_EQ(counted.size(), 1u);
    EXPECT_FALSE(counted[0].Succeeded);
    ASSERT_TRUE(counted[0].Mismatch);
    EXPECT_EQ(counted[0].Mismatch->Line, 4u);
    EXPECT_THAT(counted[0].Mismatch->Message, HasSubstr("reads 10 bytes here, not 8"));

    const auto extra = PlayAll(Request(Frames::Probe, {ProbeReply, "byte 00"}));
    ASSERT_EQ(extra.size(), 1u);
    EXPECT_FALSE(extra[0].Succeeded);
    ASSERT_TRUE(extra[0].Mismatch);
    EXPECT_EQ(extra[0].Mismatch->Line, 5u);
    EXPECT_THAT(extra[0].Mismatch->Message, HasSubstr("a transfer that the request does not make"));

    // A request that is none of the tool's is shown with whatever answered it.
    const auto foreign =
        PlayAll("10 > 09 99 00 00 00 A2\n10 < echo 09 99 00 00 00 A2\n10 < byte 09\n");
    ASSERT_EQ(foreign.size(), 1u);
    EXPECT_EQ(foreign[0].Request, RecordedRequest::Unknown);
    EXPECT_FALSE(foreign[0].Mismatch);
    EXPECT_EQ(foreign[0].Exchange.Reply, std::vector<std::uint8_t>{0x09});
}

// A selection refused part way, then a whole one: the block after it fills
// every slot, not only those the first round reached.
TEST(LineRecording, ASecondSelectionRoundShowsAllSixteenSlots) {
    const DefinitionDatabase definitions(VMX_SOURCE_DIR "/data/database.ini");
    const auto select = [](int slot, const std::string& status) {
        return Request(Frames::Select(static_cast<std::uint8_t>(slot),
                                      static_cast<std::uint16_t>(0x0100 + slot)),
                       {"byte " + status}, true);
    };
    std::string text = select(0, "09") + select(1, "09") + select(2, "2F") +
                       Request(Frames::LiveBlock, {"byte 09", "byte 20", Block(1)});
    RecordedLiveValues live(definitions);
    PlayAll(text, &live);
    const std::vector<std::string> before = Shown(live.Sets());
    EXPECT_EQ(std::count(before.begin(), before.end(), "-"), 14);
    text.clear();
    for (int slot = 0; slot < SlotCount; ++slot) text += select(slot, "09");
    text += Request(Frames::LiveBlock, {"byte 09", "byte 20", Block(2)});
    PlayAll(text, &live);
    const std::vector<std::string> shown = Shown(live.Sets());
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "-"), 0);
}

#ifdef VMXDIAG_CLI_PATH
// The values of a block that came short would be the bytes of an
// unfinished reply: none are logged.
TEST(LineRecording, ReplayLogsNoValuesOfAFailedBlock) {
    ScratchFolder folder;
    std::filesystem::copy_file(VMX_SOURCE_DIR "/data/database.ini", folder / "database.ini");
    std::string text =
        "vmxdiag line recording 1\nport COM1\n" + Request(Frames::Probe, {ProbeReply});
    for (int slot = 0; slot < SlotCount; ++slot)
        text += Request(Frames::Select(static_cast<std::uint8_t>(slot),
                                       static_cast<std::uint16_t>(0x0100 + slot)),
                        {"byte 09"}, true);
    const std::string good = Request(Frames::LiveBlock, {"byte 09", "byte 20", Block(1)});
    text += good + Request(Frames::LiveBlock, {"byte 09", "byte 20", "read 32 01 02"}) + good;
    WriteBytes(folder / "short.rec", text);
    for (const char* format : {"csv", "csv-semicolon"}) {
        const CommandRun run =
            RunCli(folder.Path(), std::string("replay short.rec --format ") + format, false);
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 3) << run.output;
    }
}
#endif

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
        {"vmxdiag line recording 1\r", 1, "the line has no end"},
        {head + write + "20 < echo 09 80 00 00 00 89\n30 < read 10 09 80", 4, "cut short"},
        {head + write, 2, "no echo line after it"},
        {head + write + "20 < byte 09\n", 3, "not followed by its echo"},
        {head + "10 < echo 09\n", 2, "follows no write"},
        {head + "10 > 09\n20 < echo 09 80\n", 3, "an echo of 2 bytes to a write of 1"},
        {head + "20 purge\n# a note\n10 purge\n", 4, "time goes back"},
        {head + "10 < read 2 01 02 03\n", 2, "at most 2"},
        {head + "10 < byte 0G\n", 2, "'0G' is not a byte"},
        {head + "1e3 purge\n", 2, "instead of the time"},
        {head + write + "port COM2\n", 3, "port line between the write of line 2 and its echo"},
        {head + "port COM1\r\r\n", 2, "control character"},
        {head + "10  purge\n", 2, "a space too many"},
        {head + "10 < peek 01\n", 2, "unknown kind"},
        {head + std::string("10 > \0\xFF\n", 8), 2, "not a byte"},
        {head + "started 2025-02-30T10:00:00.000Z\n", 2, "not a start time"},
        {head + "started 2025-03-14 09:26:53.589Z\n", 2, "not a start time"},
        {head + "started 2025-03-14T09:26:53.589Z\nstarted 2025-03-14T09:26:53.589Z\n", 3,
         "a second 'started' line"},
        {head + "port COM1\nstarted 2025-03-14T09:26:53.589Z\n", 3, "has begun"},
    };
    for (const auto& c : cases) {
        LineRecording recording;
        const auto fault = ParseRecording(c.Text, recording);
        ASSERT_TRUE(fault) << c.Text;
        EXPECT_EQ(fault->Line, c.Line) << c.Text;
        EXPECT_THAT(fault->Message, HasSubstr(c.Says)) << c.Text;
        EXPECT_TRUE(recording.Transfers.empty());
        // Read a byte at a time, the text is judged the same.
        RecordingReader reader(recording);
        for (const char& byte : c.Text) reader.Take(std::string_view(&byte, 1));
        reader.Finish();
        const auto& found = reader.Fault() ? reader.Fault() : reader.CutShort();
        ASSERT_TRUE(found) << c.Text;
        EXPECT_EQ(found->Line, c.Line) << c.Text;
        EXPECT_EQ(found->Message, fault->Message);
    }
    // What an editor may leave in: CR LF line ends, comments, blank lines.
    LineRecording recording;
    EXPECT_FALSE(ParseRecording(
        "vmxdiag line recording 1\r\n# a note\r\nstarted 2024-02-29T23:59:59.999Z\r\n"
        "port COM1\r\n# engine stalls here\r\n\r\n" +
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
              "vmxdiag line recording 1\nstarted 2024-02-29T23:59:59.999Z\nport COM1\n"
              "10 > 09 80 00 00 00 89\n20 < echo 09 80\n"
              "30 < read 10\nport COM2 /dev/ttyUSB1\n");
    ASSERT_EQ(recording.Transfers.size(), 3u);
    EXPECT_EQ(recording.Transfers[2].Asked, 10u);
    EXPECT_TRUE(recording.Transfers[2].Bytes.empty());
}

// Fixed fault: a recording was read whole before it was judged, so a large
// file that is none took minutes and its size in memory to be refused; and a
// recording cut at its end by a full disk was refused whole.
TEST(LineRecording, ARecordingIsJudgedAsItIsReadAndACutEndKeepsTheRestWhole) {
    LineRecording recording;
    RecordingReader csv(recording);
    EXPECT_FALSE(
        csv.Take("time,NMOT [rpm],TWAT [\xC2\xB0"
                 "C]"));
    ASSERT_TRUE(csv.Fault());
    EXPECT_THAT(csv.Fault()->Message, HasSubstr("not a line recording"));

    RecordingReader endless(recording);
    EXPECT_TRUE(endless.Take("vmxdiag line recording 1\n10 purge\n"));
    const std::string noLineEnd(RecordingReader::MaxLineBytes / 2, '0');
    EXPECT_TRUE(endless.Take(noLineEnd));
    EXPECT_FALSE(endless.Take(noLineEnd + "0"));
    ASSERT_TRUE(endless.Fault());
    EXPECT_EQ(endless.Fault()->Line, 3u);
    EXPECT_THAT(endless.Fault()->Message, HasSubstr("longer than 65536 bytes"));
    EXPECT_TRUE(recording.Transfers.empty());

    const std::string whole = "vmxdiag line recording 1\n" + Request(Frames::Probe, {ProbeReply});
    for (const auto& [cut, line, says] :
         {std::tuple{std::string("12 > 09 84 00 00 0F 9C\n12 < ec"), 6u, "the line has no end"},
          std::tuple{std::string("12 > 09 84 00 00 0F 9C\n# a note\n"), 5u, "no echo line"},
          // The request under way at the cut is left out: its reply may be short.
          std::tuple{std::string("12 > 09 84 00 00 0F 9C\n12 < echo 09 84 00 00 0F 9C\n"
                                 "12 < byte 0"),
                     7u, "the line has no end"}}) {
        RecordingReader reader(recording);
        EXPECT_TRUE(reader.Take(whole + cut));
        reader.Finish();
        EXPECT_FALSE(reader.Fault());
        ASSERT_TRUE(reader.CutShort()) << cut;
        EXPECT_EQ(reader.CutShort()->Line, line) << cut;
        EXPECT_THAT(reader.CutShort()->Message, HasSubstr(says));
        LineRecording expected;
        ASSERT_FALSE(ParseRecording(whole, expected));
        EXPECT_EQ(RecordingText(recording), RecordingText(expected));
    }
}

#ifndef _WIN32
// A file too large for a recording is refused by its size, unread; a large
// one that is none at its first bytes (sparse files: nothing is written).
TEST(LineRecording, ALargeFileIsRefusedWithoutBeingRead) {
    ScratchFolder folder;
    const auto huge = folder / "huge.rec";
    WriteBytes(huge, "vmxdiag line recording 1\n");
    std::filesystem::resize_file(huge, MaxRecordingBytes + (1 << 20));
    LineRecording recording;
    const RecordingFileRead tooLarge = ReadRecordingFile(huge, recording);
    EXPECT_EQ(tooLarge.Unreadable,
              "it is 537919488 bytes (513 MB), more than the 512 MB a recording may have");

    const auto zeros = folder / "zeros.rec";
    WriteBytes(zeros, "");
    std::filesystem::resize_file(zeros, MaxRecordingBytes / 2);
    const RecordingFileRead none = ReadRecordingFile(zeros, recording);
    EXPECT_EQ(none.Unreadable, "");
    ASSERT_TRUE(none.Fault);
    EXPECT_EQ(none.Fault->Line, 1u);
    EXPECT_THAT(none.Fault->Message, HasSubstr("not a line recording"));
}
#endif

// --- Where a recording may go ---

TEST(RecordingTarget, WindowsDeviceNamesAndTheDefinitionFileAreRefusedByName) {
    for (const char* device : {"CON", "nul", "Aux.txt", "PRN.tar.gz", "COM1.rec", "com9",
                               "LPT1 .log", "lpt0", "COM\xC2\xB9.rec"})
        EXPECT_TRUE(IsWindowsDeviceName(device)) << device;
    for (const char* file : {"COM10.rec", "COMA", "CONSOLE.rec", "com.rec", "COM1x", "NULL", "xCON",
                             ".nul", "engine.rec"})
        EXPECT_FALSE(IsWindowsDeviceName(file)) << file;

    ScratchFolder folder;
    const std::filesystem::path definitions = folder / "database.ini";
    WriteBytes(definitions, "[0000]\r\nAddress=0100\r\n");
    EXPECT_TRUE(RecordingPathRefusal(folder / "sub" / "DataBase.INI", definitions));
    EXPECT_TRUE(RecordingPathRefusal(folder / "COM2.rec", definitions));
    EXPECT_FALSE(RecordingPathRefusal(folder / "engine.rec", definitions));
    // The definition file under another name is refused too.
    std::filesystem::create_hard_link(definitions, folder / "definitions.txt");
    EXPECT_TRUE(RecordingPathRefusal(folder / "definitions.txt", definitions));
}

// Fixed fault: --record replaced whatever it was pointed at, database.ini and
// a recording made before included.
TEST(RecordingTarget, AnExistingFileIsReplacedOnlyWhenAsked) {
    ScratchFolder folder;
    const std::string path = (folder / "engine.rec").string();
    std::string earlier;
    for (int i = 0; i < 100; ++i) earlier += "an earlier recording\n";
    WriteBytes(path, earlier);
    RecordingFile file;
    EXPECT_FALSE(file.Create(path));
    EXPECT_THAT(file.Failure(), HasSubstr("exists"));
    EXPECT_EQ(ReadBytes(path), earlier);
    ASSERT_TRUE(file.Create(path, true));
    EXPECT_EQ(file.Failure(), "");
    ASSERT_TRUE(file.Close());
    // Nothing of the longer file before is left after the new one.
    EXPECT_EQ(ReadBytes(path), "vmxdiag line recording 1\n");

    WriteBytes(folder / "database.ini", "[Configuration]\r\nLanguage=EN\r\n");
    EXPECT_FALSE(file.Create((folder / "database.ini").string(), true));
    EXPECT_EQ(ReadBytes(folder / "database.ini"), "[Configuration]\r\nLanguage=EN\r\n");
}

#ifndef _WIN32
// Fixed fault: a FIFO without a reader held the program in its open for ever,
// and a device or terminal took the recording's text. Neither is even opened
// (an open alone raises a serial port's modem lines), replaced or not.
TEST(RecordingTarget, OnlyARegularFileIsWrittenAndNothingElseIsOpened) {
    ScratchFolder folder;
    const auto fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A reader, so that an open for writing would succeed at once.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    PtyPair terminal;
    std::filesystem::create_directory(folder / "folder");
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    for (const std::string& device : {fifo.string(), terminal.Device()})
        ASSERT_GE(::inotify_add_watch(watch, device.c_str(), IN_OPEN), 0) << device;
    RecordingFile file;
    for (const bool replace : {false, true}) {
        for (const std::string& path :
             {fifo.string(), terminal.Device(), std::string("/dev/null")}) {
            EXPECT_FALSE(file.Create(path, replace)) << path;
            EXPECT_THAT(file.Failure(), HasSubstr("regular file")) << path;
        }
        EXPECT_FALSE(file.Create((folder / "folder").string(), replace));
        EXPECT_EQ(file.Failure(), "Is a directory");
    }
    char events[4096];
    EXPECT_EQ(::read(watch, events, sizeof events), -1) << "a device was opened";
    ::close(watch);
    ::close(reader);
    EXPECT_TRUE(terminal.Receive(1, std::chrono::milliseconds(50)).empty());
}
#endif

// The recording says when it started, in a line that replay reads back.
TEST(LineRecording, TheRecorderWritesTheWallClockStart) {
    ScratchFolder folder;
    RecordingSink sink;
    ScriptedLink scripted;
    const auto before =
        std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
    {
        EcuLine line(sink, std::make_unique<LinkPort>(scripted));
        ASSERT_TRUE(line.RecordInto((folder / "session.rec").string()));
        line.Open("COM1");
    }
    const auto after = std::chrono::system_clock::now();
    LineRecording recording;
    ASSERT_FALSE(ParseRecording(ReadBytes(folder / "session.rec"), recording));
    const auto started = ParseStartTime(recording.Started);
    ASSERT_TRUE(started) << recording.Started;
    EXPECT_GE(*started, before);
    EXPECT_LE(*started, after);
}
