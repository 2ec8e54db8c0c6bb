// Finding the ECU among the ports, and getting it back after the adapter was
// unplugged: the same code runs in the window and in the command-line tool.

#include <gtest/gtest.h>
#include <termios.h>

#include <filesystem>

#include "line/EcuLine.h"
#include "serial/SerialPort.h"
#include "sim/posix/EcuSimulator.h"
#include "support/PtyPair.h"
#include "support/RecordingSink.h"
#include "support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

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

}  // namespace
