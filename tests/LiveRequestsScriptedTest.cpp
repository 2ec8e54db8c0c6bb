// Selecting a whole set and walking the error bitmap, on scripted bytes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "protocol/ErrorBitmap.h"
#include "protocol/SlotSelection.h"
#include "support/ScriptedLink.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::array<std::uint32_t, SlotCount> Addresses() {
    std::array<std::uint32_t, SlotCount> addresses{};
    for (int i = 0; i < SlotCount; ++i) addresses[i] = 0x0100u + 2u * i;
    addresses[7] = 0x01A4;
    return addresses;
}

}  // namespace

// --- Selecting a set ---

TEST(SlotSelection, SixteenFramesSlotZeroFirstEachAfterAPurge) {
    ScriptedLink link;
    for (int i = 0; i < SlotCount; ++i) link.QueueReply({0x09});
    EcuProtocol ecu(link);
    EXPECT_TRUE(SelectSlots(ecu, Addresses()).Complete());
    ASSERT_EQ(link.Log.size(), 32u);
    for (int slot = 0; slot < SlotCount; ++slot) {
        EXPECT_EQ(link.Log[2 * slot].What, ScriptedLink::Event::Purge);
        ASSERT_EQ(link.Log[2 * slot + 1].What, ScriptedLink::Event::Write);
        EXPECT_EQ(link.Log[2 * slot + 1].Sent[2], slot);
    }
    EXPECT_THAT(link.Sent()[7], ElementsAre(0x09, 0x85, 0x07, 0xA4, 0x01, 0x3A));
}

TEST(SlotSelection, RefusalAtSlotFiveStopsTheSelection) {
    ScriptedLink link;
    for (int i = 0; i < 5; ++i) link.QueueReply({0x09});
    link.QueueReply({0x3F});
    for (int i = 0; i < 10; ++i) link.QueueReply({0x09});
    EcuProtocol ecu(link);
    const SlotSelection selection = SelectSlots(ecu, Addresses());
    EXPECT_FALSE(selection.Complete());
    EXPECT_EQ(selection.Accepted, 5);
    EXPECT_EQ(selection.Refusal, -3);
    const auto sent = link.Sent();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent.back()[2], 5);
}

TEST(SlotSelection, SilenceOnTheFirstSlotFails) {
    ScriptedLink link;
    EcuProtocol ecu(link);
    const SlotSelection selection = SelectSlots(ecu, Addresses());
    EXPECT_EQ(selection.Accepted, 0);
    EXPECT_EQ(selection.Refusal, -7);
    EXPECT_EQ(link.Sent().size(), 1u);
}

// --- The error bitmap ---

TEST(ErrorBitmap, FirstAndLastBitsGiveErrorsZeroAnd127InOrder) {
    std::uint8_t bitmap[16] = {};
    bitmap[0] = 0x01;
    bitmap[15] = 0x80;
    EXPECT_THAT(StoredErrors(bitmap), ElementsAre(0, 127));
}

TEST(ErrorBitmap, AllZerosGiveNoErrors) {
    std::uint8_t bitmap[16] = {};
    EXPECT_THAT(StoredErrors(bitmap), IsEmpty());
}

TEST(ErrorBitmap, BitsWithinAByteAscendFromMaskOne) {
    std::uint8_t bitmap[16] = {};
    bitmap[2] = 0x81;
    bitmap[1] = 0x06;
    EXPECT_THAT(StoredErrors(bitmap), ElementsAre(9, 10, 16, 23));
    std::uint8_t full[16];
    std::fill(std::begin(full), std::end(full), 0xFF);
    EXPECT_EQ(StoredErrors(full).size(), 128u);
}
