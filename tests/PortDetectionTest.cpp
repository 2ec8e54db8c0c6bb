// Finding the ECU among the ports, and getting it back after the adapter was
// unplugged: the same code runs in the window and in the command-line tool.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "line/EcuLine.h"
#include "presentation/LineWording.h"
#include "presentation/PortSearchMessages.h"
#include "serial/SerialPort.h"
#include "support/LineFixture.h"
#include "support/RecordingSink.h"
#include "support/ScratchFolder.h"
#include "support/ScriptedPort.h"
#ifndef _WIN32
#include <termios.h>

#include "sim/posix/EcuSimulator.h"
#include "support/PtyPair.h"
#endif

namespace fs = std::filesystem;
using ::testing::ElementsAre;

namespace {

// --- Ports opened and closed on the way, on both transports ---

template <typename Ecus>
class PortSearch : public LineTest<Ecus> {
protected:
    // The lines of the recording so far.
    std::string Recorded() {
        EXPECT_TRUE(this->line.SaveRecording());
        return ReadBytes(this->folder / "line.rec");
    }
};
TYPED_TEST_SUITE(PortSearch, EcuBenches, EcuBenchNames);

// A second Open while a port is open changes nothing, so the recording says
// nothing of it: no port line (the transfers still go to the first) and no
// note of a failure.
TYPED_TEST(PortSearch, ASecondPortOpenedWhileOneIsOpenRecordsNoStrayLine) {
    this->ecus.AddSilentPort("COM2");
    ASSERT_TRUE(this->line.RecordInto((this->folder / "line.rec").string()));
    EXPECT_EQ(this->line.Open("COM2").Outcome, OpenOutcome::AlreadyOpen);
    EXPECT_EQ(this->line.PortName(), "COM1");
    const std::string recorded = this->Recorded();
    EXPECT_EQ(std::count(recorded.begin(), recorded.end(), '\n'), 3)
        << recorded;  // format, start, port
    EXPECT_NE(recorded.find("\nport COM1"), std::string::npos) << recorded;
    EXPECT_EQ(recorded.find("COM2"), std::string::npos) << recorded;
}

// Left open, the first port's ECU would answer the probe of every port after
// it: a silent port would be reported as answering.
TYPED_TEST(PortSearch, ProbingEveryPortClosesEachItDoesNotKeep) {
    this->ecus.AddSilentPort("COM2");
    this->line.Close();
    const PortDetection detection = this->line.ProbeEveryPort();
    ASSERT_EQ(detection.Tried.size(), 2u);
    EXPECT_TRUE(detection.Tried[0].Answered);
    EXPECT_EQ(detection.Tried[1].Open, OpenOutcome::Opened);
    EXPECT_FALSE(detection.Tried[1].Answered);
    EXPECT_FALSE(this->line.IsOpen());
    EXPECT_TRUE(this->ecus.PortIsFree("COM1"));
    EXPECT_TRUE(this->ecus.PortIsFree("COM2"));
}

// The messages the user is told, in order.
class SaidMessages : public PortSearchMessages {
public:
    std::vector<std::string> Said;

protected:
    void Say(const std::string& text) override { Said.push_back(text); }
};

// A port's own messages are said with it, in one sentence, and not again; a
// message of the search that no port said (a port that would not close) is
// said once it is over, and nothing is lost.
TEST(PortSearchMessages, APortsMessagesStayWithItAndTheRestAreSaidAtTheEnd) {
    auto devices = std::make_shared<ScriptedDevices>();
    devices->AddSilentPort("COM1").RefusesClose = true;
    devices->AddEcu("COM2").OpenMessages = {"Could not modify serial port state."};
    SaidMessages messages;
    EcuLine line(messages, std::make_unique<ScriptedPort>(devices));

    messages.Hold();
    const PortDetection detection = line.Detect();
    EXPECT_THAT(messages.Said, ::testing::IsEmpty());
    messages.Release(detection);
    EXPECT_THAT(messages.Said, ElementsAre(CloseFailedMessage));
    ASSERT_EQ(detection.Answered, 1u);
    const PortProbe& answered = detection.Tried[1];
    EXPECT_THAT(answered.Messages, ElementsAre("Could not modify serial port state."));
    EXPECT_EQ(PortTrouble(answered),
              "opened, but it may not run at 38400 baud, 8N1 (could not modify serial port state)");
    EXPECT_EQ(PortTrouble(detection.Tried[0]), "");

    // After the search every message is said at once.
    line.Open("COM9");
    messages.ShowError("Failed to retrieve timeouts.");
    EXPECT_THAT(messages.Said, ElementsAre(CloseFailedMessage, "Failed to retrieve timeouts."));
}

// A port as the user knows it, on every platform: Windows' own device name of
// a port adds nothing to the port's name.
TEST(PortShown, TheDeviceIsShownWhenItSaysMoreThanTheName) {
    EXPECT_EQ(PortShown("COM3", "\\\\.\\COM3"), "COM3");
    EXPECT_EQ(PortShown("COM3", "COM3"), "COM3");
    EXPECT_EQ(PortShown("COM3", ""), "COM3");
    EXPECT_EQ(PortShown("COM3", "/dev/ttyUSB0"), "COM3 (/dev/ttyUSB0)");
    EXPECT_EQ(PortShown("COM3", "\\\\.\\COM13"), "COM3 (\\\\.\\COM13)");
}

#ifndef _WIN32

class PortDetectionTest : public ::testing::Test {
protected:
    void Link(const std::string& name, const std::string& device) {
        fs::create_directories(folder / "dosdevices");
        fs::remove(folder / "dosdevices" / name);
        fs::create_symlink(device, folder / "dosdevices" / name);
    }

    ScratchFolder folder;
    RecordingSink sink;
    EcuLine line{sink, folder.Path()};
    EcuProtocol& ecu = line.Ecu();
};

TEST_F(PortDetectionTest, TheFirstPortThatAnswersStaysOpenAndEndsTheSearch) {
    PtyPair silent1, silent2, later;
    EcuSimulator simulator;
    Link("COM1", silent1.Device());
    Link("COM2", silent2.Device());
    Link("COM3", simulator.DevicePath());
    Link("COM4", later.Device());

    const PortDetection detection = line.Detect();
    ASSERT_EQ(detection.Tried.size(), 3u);  // COM4 is never tried
    EXPECT_FALSE(detection.Tried[0].Answered);
    EXPECT_EQ(detection.Answered, 2u);
    EXPECT_TRUE(line.IsOpen());
    EXPECT_EQ(line.PortName(), "COM3");
    EXPECT_EQ(ecu.ProgramVersion, "40.3.5");
    EXPECT_TRUE(sink.Messages.empty());
}

TEST_F(PortDetectionTest, WithoutAnswerEveryPortIsTriedAndNoneIsLeftOpen) {
    PtyPair silent1, silent2;
    Link("COM1", silent1.Device());
    Link("COM2", silent2.Device());
    Link("COM3", (folder / "no-such-device").string());

    const PortDetection detection = line.Detect();
    ASSERT_EQ(detection.Tried.size(), 3u);
    EXPECT_FALSE(detection.Answered);
    EXPECT_EQ(detection.Tried[2].Open, OpenOutcome::NoSuchPort);
    EXPECT_FALSE(line.IsOpen());
}

TEST_F(PortDetectionTest, APortHeldByAnotherProgramIsReportedAsInUse) {
    EcuSimulator simulator;
    Link("COM1", simulator.DevicePath());
    SerialPort other(folder.Path());
    ASSERT_TRUE(other.Open("COM1").Opened());

    const PortProbe probe = line.ProbePort("COM1", true);
    EXPECT_EQ(probe.Open, OpenOutcome::InUse);
    EXPECT_FALSE(probe.Answered);
    EXPECT_FALSE(line.IsOpen());
}

// --- A lost line comes back by its name ---

TEST_F(PortDetectionTest, ARepluggedAdapterUnderANewDeviceIsReopenedByItsName) {
    auto first = std::make_unique<EcuSimulator>();
    Link("COM1", first->DevicePath());
    line.Open("COM1");
    ASSERT_TRUE(ecu.Probe());
    EXPECT_EQ(line.Recover(), LineRecovery::NotLost);

    // Unplugged: the name stands for nothing until the adapter is back. (The
    // freed pseudo-terminal's number may soon belong to another test's line.)
    Link("COM1", (folder / "unplugged").string());
    first->HangUp();
    EXPECT_FALSE(ecu.Probe());
    ASSERT_TRUE(line.IsHungUp());
    EXPECT_EQ(line.Recover(), LineRecovery::StillLost);  // nothing plugged in yet
    EXPECT_TRUE(line.IsOpen());                          // so that Stop and Close still act on it

    EcuSimulator second;
    Link("COM1", second.DevicePath());
    EXPECT_EQ(line.Recover(), LineRecovery::Restored);
    EXPECT_EQ(line.Device(), second.DevicePath());
    EXPECT_TRUE(ecu.Probe());
    EXPECT_TRUE(sink.Messages.empty());  // no message boxes from a background reopen
}

// The old device path may belong to an unrelated terminal by now: it is
// probed once and then let go of, and the port stays lost.
TEST_F(PortDetectionTest, ADeviceThatDoesNotAnswerIsLetGoOf) {
    auto first = std::make_unique<EcuSimulator>();
    Link("COM1", first->DevicePath());
    line.Open("COM1");
    Link("COM1", (folder / "unplugged").string());
    first->HangUp();
    EXPECT_FALSE(ecu.Probe());

    PtyPair stranger;
    const LineSettings found = stranger.Settings();
    Link("COM1", stranger.Device());
    EXPECT_EQ(line.Recover(), LineRecovery::StillLost);
    EXPECT_TRUE(line.IsHungUp());
    EXPECT_EQ(stranger.Settings(), found) << "the stranger's terminal was left raw";
    SerialPort other(folder.Path());
    EXPECT_TRUE(other.Open(stranger.Device()).Opened()) << "the stranger's terminal is still held";
    line.Close();
    EXPECT_FALSE(line.IsOpen());
}

// A name that now stands for a regular file (a link made by mistake) is
// tried as a device would be, and the port stays lost: nothing is shown, as
// for every reopen in the background, and nothing is written into the file.
TEST_F(PortDetectionTest, ANameThatNowStandsForARegularFileStaysLostWithoutAMessage) {
    auto first = std::make_unique<EcuSimulator>();
    Link("COM1", first->DevicePath());
    line.Open("COM1");
    WriteBytes(folder / "notes.txt", "not a terminal\n");
    Link("COM1", (folder / "notes.txt").string());
    first->HangUp();
    EXPECT_FALSE(ecu.Probe());
    EXPECT_EQ(line.Recover(), LineRecovery::StillLost);
    EXPECT_TRUE(line.IsHungUp());
    EXPECT_TRUE(sink.Messages.empty());
    EXPECT_EQ(ReadBytes(folder / "notes.txt"), "not a terminal\n");
}

#endif

}  // namespace
