// The exchanges over a real pseudo-terminal against the simulator: echo,
// pacing, purges and hang-ups as a real line has them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "protocol/EcuProtocol.h"
#include "serial/SerialPort.h"
#include "sim/EcuSimulator.h"

using ::testing::ElementsAre;
using Clock = std::chrono::steady_clock;

namespace {

class NoMessages : public MessageSink {
public:
    void ShowError(const std::string& text) override { ADD_FAILURE() << "message: " << text; }
};

std::vector<std::uint8_t> FrameBytes(const RequestFrame& frame) {
    return {frame.Bytes.begin(), frame.Bytes.end()};
}

class OverPty : public ::testing::Test {
protected:
    void SetUp() override {
        port.Open(simulator.DevicePath());
        ASSERT_TRUE(port.IsOpen());
    }
    std::vector<std::vector<std::uint8_t>> Received() {
        std::vector<std::vector<std::uint8_t>> frames;
        for (const auto& frame : simulator.ReceivedFrames()) frames.push_back(FrameBytes(frame));
        return frames;
    }
    double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

    EcuSimulator simulator;
    NoMessages sink;
    SerialPort port{sink};
    EcuProtocol ecu{port};
};

}  // namespace

// --- Every request goes out byte for byte ---

TEST_F(OverPty, EveryRequestArrivesAtTheEcuByteForByte) {
    WorkBuffer buffer{};
    ecu.Probe();
    ecu.SelectParameter(3, 0x1234);
    ecu.ReadLiveBlock(buffer);
    ecu.ReadErrors(buffer);
    ecu.ClearErrors();
    port.Purge();
    EXPECT_THAT(Received(), ElementsAre(ElementsAre(0x09, 0x80, 0x00, 0x00, 0x00, 0x89),
                                        ElementsAre(0x09, 0x85, 0x03, 0x34, 0x12, 0xD7),
                                        ElementsAre(0x09, 0x84, 0x00, 0x00, 0x0F, 0x9C),
                                        ElementsAre(0x09, 0x83, 0x00, 0x00, 0x00, 0x8C),
                                        ElementsAre(0x09, 0x83, 0x01, 0xFF, 0xFF, 0x8B)));
}

// --- Probe ---

TEST_F(OverPty, ProbeReadsVersionAndApplication) {
    ASSERT_TRUE(ecu.Probe());
    EXPECT_EQ(ecu.ProgramVersion, "40.3.5");
    EXPECT_EQ(ecu.ProgramVersionMajor, 40);
    EXPECT_EQ(ecu.ApplicationId, "1001");
}

TEST_F(OverPty, WrongFirstByteFailsTheProbeAndKeepsThePreviousTexts) {
    ASSERT_TRUE(ecu.Probe());
    EcuState other = simulator.State();
    other.VersionMajor = 41;
    other.ApplicationId = 7;
    simulator.SetState(other);
    SimFaults faults;
    faults.FirstByte = 0x0A;
    simulator.SetFaults(faults);
    EXPECT_FALSE(ecu.Probe());
    EXPECT_EQ(ecu.ProgramVersion, "40.3.5");
    EXPECT_EQ(ecu.ProgramVersionMajor, 40);
    EXPECT_EQ(ecu.ApplicationId, "1001");
}

TEST_F(OverPty, NineByteReplyFailsWithinTheReadBudget) {
    SimFaults faults;
    faults.ShortBy = 1;
    simulator.SetFaults(faults);
    const auto start = Clock::now();
    EXPECT_FALSE(ecu.Probe());
    // 10 bytes × 20 ms, plus the final read of up to 110 ms; this only tells it from a hang.
    EXPECT_LT(Ms(Clock::now() - start), 5000.0);
    EXPECT_EQ(ecu.ProgramVersion, "");
}

TEST_F(OverPty, LineWithoutEchoFailsTheRequest) {
    SimFaults faults;
    faults.NoEcho = true;
    simulator.SetFaults(faults);
    EXPECT_FALSE(ecu.Probe());
    EXPECT_EQ(ecu.ProgramVersion, "");
}

TEST_F(OverPty, GarbageBeforeTheReplyFailsTheProbe) {
    SimFaults faults;
    faults.Garbage = {0x55, 0xAA};
    simulator.SetFaults(faults);
    EXPECT_FALSE(ecu.Probe());
}

TEST_F(OverPty, DelayedReplyWithinTheBudgetStillSucceeds) {
    SimFaults faults;
    faults.Delay = std::chrono::milliseconds(60);
    simulator.SetFaults(faults);
    EXPECT_TRUE(ecu.Probe());
}

// --- Selection status ---

TEST_F(OverPty, StatusBytesOfTheEcuMapToSelectStatus) {
    EXPECT_EQ(ecu.SelectParameter(0, 0x0100), 0);
    simulator.RefuseSlot(1, 0x4F);
    EXPECT_EQ(ecu.SelectParameter(1, 0x0100), -4);
    simulator.RefuseSlot(2, 0x10);
    EXPECT_EQ(ecu.SelectParameter(2, 0x0100), -7);
    SimFaults faults;
    faults.Silent = true;
    simulator.SetFaults(faults);
    EXPECT_EQ(ecu.SelectParameter(3, 0x0100), -7);
}

// --- Acknowledged blocks ---

TEST_F(OverPty, WrongAcknowledgementFailsWithoutReadingTheBlock) {
    SimFaults faults;
    faults.FirstByte = 0x0A;
    simulator.SetFaults(faults);
    WorkBuffer buffer{};
    EXPECT_FALSE(ecu.ReadLiveBlock(buffer));
    // The byte after the acknowledgement and the block wait in the input queue...
    std::uint8_t rest[64];
    EXPECT_EQ(port.Read(rest, 33), 33u);
    // ...and the next request finds the way clear.
    simulator.SetFaults({});
    EXPECT_TRUE(ecu.Probe());
}

// --- Hang-up ---

TEST_F(OverPty, HangUpInTheMiddleOfAReplyGivesAShortCountWithinTheBudget) {
    SimFaults faults;
    faults.HangUpAfter = 4;
    simulator.SetFaults(faults);
    const auto start = Clock::now();
    EXPECT_FALSE(ecu.Probe());
    EXPECT_LT(Ms(Clock::now() - start), 5000.0);
    // Later exchanges fail at once until the port is opened again: ten rounds
    // that each waited for their echo would take over 6 s.
    const auto again = Clock::now();
    for (int round = 0; round < 10; ++round) {
        EXPECT_FALSE(ecu.Probe());
        WorkBuffer buffer{};
        EXPECT_FALSE(ecu.ReadLiveBlock(buffer));
        EXPECT_EQ(ecu.SelectParameter(0, 0x0100), -7);
    }
    EXPECT_LT(Ms(Clock::now() - again), 3000.0);
}
