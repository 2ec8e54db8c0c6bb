// Parameter selection, the live block and the error memory over a real
// pseudo-terminal against the simulator.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "database/LiveData.h"
#include "protocol/ErrorBitmap.h"
#include "serial/SerialPort.h"
#include "sim/EcuSimulator.h"
#include "support/RecordingSink.h"

using ::testing::ElementsAre;

namespace {

class LiveOverPty : public ::testing::Test {
protected:
    void SetUp() override {
        // Set 0 at addresses 0x0800 + slot, with slot 7 at 0x01A4; each answers 100 + slot.
        for (int slot = 0; slot < SlotCount; ++slot) {
            const std::uint16_t address = slot == 7 ? 0x01A4 : 0x0800 + slot;
            definitions[slot].Address = address;
            definitions[slot].Formula = "X";
            simulator.SetLiveValue(address, static_cast<std::uint16_t>(100 + slot));
        }
        definitions[1].Formula = "X*0.5";
        port.Open(simulator.DevicePath());
        ASSERT_TRUE(port.IsOpen());
    }

    std::vector<RequestFrame> Received() { return simulator.ReceivedFrames(); }

    ParameterSets::Definitions definitions;
    ParameterSets sets{definitions};
    EcuSimulator simulator;
    RecordingSink sink;
    SerialPort port{sink};
    EcuProtocol ecu{port};
};

}  // namespace

// --- Selecting a set ---

TEST_F(LiveOverPty, SelectionSendsSixteenFramesSlotZeroFirst) {
    ASSERT_TRUE(SelectCurrentSet(ecu, sets, 0));
    const auto frames = Received();
    ASSERT_EQ(frames.size(), 16u);
    for (int slot = 0; slot < SlotCount; ++slot) {
        EXPECT_EQ(frames[slot].Bytes[1], 0x85);
        EXPECT_EQ(frames[slot].Bytes[2], slot);
        EXPECT_EQ(simulator.SlotAddress(static_cast<std::uint8_t>(slot)),
                  slot == 7 ? 0x01A4 : 0x0800 + slot);
    }
    EXPECT_THAT(frames[7].Bytes, ElementsAre(0x09, 0x85, 0x07, 0xA4, 0x01, 0x3A));
}

TEST_F(LiveOverPty, RefusalAtSlotFiveStopsTheSelectionAndTheBlockIsStillRead) {
    simulator.RefuseSlot(5, 0x3F);
    bool linkOk = false;
    EXPECT_TRUE(PollLiveData(ecu, sets, 0, linkOk));
    EXPECT_FALSE(linkOk);
    const auto frames = Received();
    ASSERT_EQ(frames.size(), 7u);
    EXPECT_EQ(frames[5].Bytes[2], 5);
    EXPECT_EQ(frames[6].Bytes[1], 0x84);
    // The next tick starts the selection again at slot 0.
    simulator.ClearRefusals();
    simulator.ClearLog();
    EXPECT_TRUE(PollLiveData(ecu, sets, 0, linkOk));
    EXPECT_TRUE(linkOk);
    EXPECT_EQ(Received().size(), 17u);
}

TEST_F(LiveOverPty, UnknownAddressIsRefused) {
    definitions[3].Address = 0x7777;
    EXPECT_FALSE(SelectCurrentSet(ecu, sets, 0));
    EXPECT_EQ(Received().size(), 4u);
}

// --- The live block ---

TEST_F(LiveOverPty, BlockValuesFollowTheSlotsAndFormulas) {
    bool linkOk = false;
    ASSERT_TRUE(PollLiveData(ecu, sets, 0, linkOk));
    EXPECT_TRUE(linkOk);
    EXPECT_EQ(sets.Values[0], 100.0);
    EXPECT_EQ(sets.Values[1], 50.5);
    EXPECT_EQ(sets.Values[7], 107.0);
    EXPECT_EQ(sets.Values[15], 115.0);
}

TEST_F(LiveOverPty, ShortBlockFailsAndTheNextTickSelectsAgain) {
    bool linkOk = false;
    ASSERT_TRUE(PollLiveData(ecu, sets, 0, linkOk));
    SimFaults faults;
    faults.ShortBy = 1;  // 31 data bytes
    simulator.SetFaults(faults);
    EXPECT_FALSE(PollLiveData(ecu, sets, 0, linkOk));
    EXPECT_FALSE(linkOk);
    EXPECT_EQ(sets.Values[0], 100.0);
    simulator.SetFaults({});
    simulator.ClearLog();
    EXPECT_TRUE(PollLiveData(ecu, sets, 0, linkOk));
    EXPECT_TRUE(linkOk);
    EXPECT_EQ(Received().size(), 17u);
}

// --- The error memory ---

TEST_F(LiveOverPty, ErrorBitmapGivesTheStoredErrorsInOrder) {
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[0] = 0x01;
    bitmap[15] = 0x80;
    simulator.SetErrorBitmap(bitmap);
    WorkBuffer buffer{};
    ASSERT_TRUE(ecu.ReadErrors(buffer));
    EXPECT_THAT(StoredErrors(buffer.data()), ElementsAre(0, 127));
}

TEST_F(LiveOverPty, ClearIsFollowedByNoReadAndItsAnswerWaitsForThePurge) {
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[2] = 0x04;
    simulator.SetErrorBitmap(bitmap);
    port.Purge();
    ASSERT_TRUE(ecu.ClearErrors());
    // The ECU's answer to the clear was left unread: it comes, however late.
    std::vector<std::uint8_t> answer;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (answer.size() < 2 && std::chrono::steady_clock::now() < limit)
        if (const auto byte = port.ReadByte()) answer.push_back(*byte);
    EXPECT_THAT(answer, ElementsAre(0x09, 0x00));
    port.Purge();
    WorkBuffer buffer{};
    ASSERT_TRUE(ecu.ReadErrors(buffer));
    EXPECT_TRUE(StoredErrors(buffer.data()).empty());
    EXPECT_TRUE(sink.Messages.empty());
}
