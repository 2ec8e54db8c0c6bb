// Selecting a parameter set, the live block it fills, and the error bitmap.
// The typed suite polls an ECU on a scripted port and, on POSIX systems, the
// simulator over a pseudo-terminal; the order of purges and frames is read
// from a ScriptedLink's log.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <optional>

#include "database/ParameterSets.h"
#include "line/LivePolling.h"
#include "protocol/ErrorBitmap.h"
#include "protocol/SlotSelection.h"
#include "support/LineFixture.h"
#include "support/ScriptedLink.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Set 0 at addresses 0x0800 + slot, with slot 7 at 0x01A4.
std::uint16_t AddressOf(int slot) {
    return static_cast<std::uint16_t>(slot == 7 ? 0x01A4 : 0x0800 + slot);
}

// The set above, each of its addresses answering 100 + slot.
template <typename Ecus>
class LiveRequests : public LineTest<Ecus> {
protected:
    void SetUp() override {
        LineTest<Ecus>::SetUp();
        for (int slot = 0; slot < SlotCount; ++slot) {
            definitions[slot].Address = AddressOf(slot);
            definitions[slot].Formula = "X";
            this->ecus.SetLiveValue(this->Port, AddressOf(slot),
                                    static_cast<std::uint16_t>(100 + slot));
        }
        definitions[1].Formula = "X*0.5";
    }

    ParameterSets::Definitions definitions;
    ParameterSets sets{definitions};
};
TYPED_TEST_SUITE(LiveRequests, EcuBenches, EcuBenchNames);

}  // namespace

// --- Selecting a set ---

TYPED_TEST(LiveRequests, SelectionSendsSixteenFramesSlotZeroFirst) {
    ASSERT_TRUE(SelectCurrentSet(this->line, this->sets, 0));
    const auto frames = this->Received();
    ASSERT_EQ(frames.size(), 16u);
    for (int slot = 0; slot < SlotCount; ++slot)
        EXPECT_EQ(frames[slot].Bytes, Frames::Select(slot, AddressOf(slot)).Bytes) << slot;
    EXPECT_THAT(frames[7].Bytes, ElementsAre(0x09, 0x85, 0x07, 0xA4, 0x01, 0x3A));
}

TYPED_TEST(LiveRequests, RefusalAtSlotFiveStopsTheSelectionAndTheBlockIsStillRead) {
    this->ecus.RefuseSlot(this->Port, 5, 0x3F);
    const SlotSelection selection = SelectSlots(this->Ecu(), this->sets.SlotAddresses());
    EXPECT_FALSE(selection.Complete());
    EXPECT_EQ(selection.Accepted, 5);
    EXPECT_EQ(selection.Refusal, -3);
    EXPECT_EQ(selection.RefusalByte, 0x3F);
    auto frames = this->Received();
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames.back().Bytes[2], 5);

    this->ecus.ClearLog(this->Port);
    bool linkOk = false;
    EXPECT_TRUE(PollLiveData(this->line, this->sets, 0, linkOk));
    EXPECT_FALSE(linkOk);
    frames = this->Received();
    ASSERT_EQ(frames.size(), 7u);
    EXPECT_EQ(frames[5].Bytes[2], 5);
    EXPECT_EQ(frames[6].Bytes[1], 0x84);
    // The next tick starts the selection again at slot 0.
    this->ecus.ClearRefusals(this->Port);
    this->ecus.ClearLog(this->Port);
    EXPECT_TRUE(PollLiveData(this->line, this->sets, 0, linkOk));
    EXPECT_TRUE(linkOk);
    EXPECT_EQ(this->Received().size(), 17u);
}

TYPED_TEST(LiveRequests, SilenceOnTheFirstSlotFails) {
    SimFaults faults;
    faults.Silent = true;
    this->SetFaults(faults);
    const SlotSelection selection = SelectSlots(this->Ecu(), this->sets.SlotAddresses());
    EXPECT_EQ(selection.Accepted, 0);
    EXPECT_EQ(selection.Refusal, -7);
    EXPECT_EQ(selection.RefusalByte, std::nullopt);
    EXPECT_EQ(this->Received().size(), 1u);
}

TYPED_TEST(LiveRequests, UnknownAddressIsRefused) {
    this->definitions[3].Address = 0x7777;
    EXPECT_FALSE(SelectCurrentSet(this->line, this->sets, 0));
    EXPECT_EQ(this->Received().size(), 4u);
}

TEST(SlotSelection, EveryFrameFollowsAPurge) {
    ScriptedLink link;
    for (int i = 0; i < SlotCount; ++i) link.QueueReply({0x09});
    EcuProtocol ecu(link);
    std::array<std::uint32_t, SlotCount> addresses{};
    for (int slot = 0; slot < SlotCount; ++slot) addresses[slot] = AddressOf(slot);
    EXPECT_TRUE(SelectSlots(ecu, addresses).Complete());
    ASSERT_EQ(link.Log.size(), 32u);
    for (int slot = 0; slot < SlotCount; ++slot) {
        EXPECT_EQ(link.Log[2 * slot].What, ScriptedLink::Event::Purge);
        ASSERT_EQ(link.Log[2 * slot + 1].What, ScriptedLink::Event::Write);
        EXPECT_EQ(link.Log[2 * slot + 1].Sent[2], slot);
    }
}

// --- The live block ---

TYPED_TEST(LiveRequests, BlockValuesFollowTheSlotsAndFormulas) {
    bool linkOk = false;
    ASSERT_TRUE(PollLiveData(this->line, this->sets, 0, linkOk));
    EXPECT_TRUE(linkOk);
    EXPECT_EQ(this->sets.Values[0], 100.0);
    EXPECT_EQ(this->sets.Values[1], 50.5);
    EXPECT_EQ(this->sets.Values[7], 107.0);
    EXPECT_EQ(this->sets.Values[15], 115.0);
}

// A block cut short fails the same way (ShapeB.ShortBlockFails); the scripted
// ports do not shorten replies, so the ECU leaves the block unanswered here.
TYPED_TEST(LiveRequests, FailedBlockKeepsTheValuesAndTheNextTickSelectsAgain) {
    bool linkOk = false;
    ASSERT_TRUE(PollLiveData(this->line, this->sets, 0, linkOk));
    SimFaults faults;
    faults.Unanswered = {0x84};
    this->SetFaults(faults);
    EXPECT_FALSE(PollLiveData(this->line, this->sets, 0, linkOk));
    EXPECT_FALSE(linkOk);
    EXPECT_EQ(this->sets.Values[0], 100.0);
    this->SetFaults({});
    this->ecus.ClearLog(this->Port);
    EXPECT_TRUE(PollLiveData(this->line, this->sets, 0, linkOk));
    EXPECT_TRUE(linkOk);
    EXPECT_EQ(this->Received().size(), 17u);
}

// --- The error bitmap ---

TEST(ErrorBitmap, BitsGiveTheirErrorNumbersInAscendingOrder) {
    std::uint8_t bitmap[16] = {};
    EXPECT_THAT(StoredErrors(bitmap), IsEmpty());
    bitmap[0] = 0x01;
    bitmap[15] = 0x80;
    EXPECT_THAT(StoredErrors(bitmap), ElementsAre(0, 127));
    bitmap[0] = bitmap[15] = 0;
    bitmap[2] = 0x81;
    bitmap[1] = 0x06;
    EXPECT_THAT(StoredErrors(bitmap), ElementsAre(9, 10, 16, 23));
    std::uint8_t full[16];
    std::fill(std::begin(full), std::end(full), 0xFF);
    EXPECT_EQ(StoredErrors(full).size(), 128u);
}
