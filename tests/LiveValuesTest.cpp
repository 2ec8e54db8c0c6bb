// Parameter sets and live values: the slot map, the selection of a set, and
// the conversion of a live block through the definitions' formulas. The
// live tick runs on scripted bytes here; over a pseudo-terminal in LiveOverPtyTest.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "formula/EvaluateFormula.h"
#include "line/LivePolling.h"
#include "support/LinkPort.h"
#include "support/RecordingSink.h"
#include "support/ScratchFolder.h"
#include "support/ScriptedLink.h"

using ::testing::Each;
using ::testing::ElementsAre;

namespace {

// Sixteen definitions of set 0 with the given formula and signedness.
class LiveValues : public ::testing::Test {
protected:
    LiveValues() {
        for (auto& def : definitions) def.Formula = "X";
    }
    std::array<std::uint8_t, 32> BlockWithSlot0(std::uint8_t low, std::uint8_t high) {
        std::array<std::uint8_t, 32> block{};
        block[0] = low;
        block[1] = high;
        return block;
    }
    double Slot0(std::uint8_t low, std::uint8_t high, bool isSigned) {
        definitions[0].Signed = isSigned;
        sets.ComputeValues(BlockWithSlot0(low, high).data());
        return sets.Values[0];
    }

    ParameterSets::Definitions definitions;
    ParameterSets sets{definitions};
    ScriptedLink link;
    RecordingSink sink;
    std::unique_ptr<EcuLine> line = LineOver(sink, link);
};

}  // namespace

// --- Words: low byte first, signed or not ---

TEST_F(LiveValues, WordsAreLowByteFirstAndSignedPerDefinition) {
    EXPECT_EQ(Slot0(0x34, 0x12, false), 4660.0);
    EXPECT_EQ(Slot0(0x34, 0x12, true), 4660.0);
    EXPECT_EQ(Slot0(0xFF, 0xFF, false), 65535.0);
    EXPECT_EQ(Slot0(0xFF, 0xFF, true), -1.0);
    EXPECT_EQ(Slot0(0x00, 0x80, false), 32768.0);
    EXPECT_EQ(Slot0(0x00, 0x80, true), -32768.0);
    EXPECT_EQ(Slot0(0xFF, 0x7F, false), 32767.0);
    EXPECT_EQ(Slot0(0xFF, 0x7F, true), 32767.0);
}

TEST_F(LiveValues, EachSlotTakesItsOwnWord) {
    std::array<std::uint8_t, 32> block{};
    for (int slot = 0; slot < 16; ++slot) block[2 * slot] = static_cast<std::uint8_t>(slot + 1);
    block[31] = 0x01;  // slot 15: 0x0110
    sets.ComputeValues(block.data());
    EXPECT_EQ(sets.Values[0], 1.0);
    EXPECT_EQ(sets.Values[7], 8.0);
    EXPECT_EQ(sets.Values[15], 272.0);
    EXPECT_EQ(sets.LiveBlock, block);
}

// --- Formulas ---

TEST_F(LiveValues, EmptyFormulaGivesZeroAndDefaultFormulaTheRawValue) {
    definitions[1].Formula = "";
    definitions[2].Formula = "X*0.1-40";
    std::array<std::uint8_t, 32> block{};
    block[0] = 100;
    block[2] = 100;
    block[4] = 100;
    sets.ComputeValues(block.data());
    EXPECT_EQ(sets.Values[0], 100.0);
    EXPECT_EQ(sets.Values[1], 0.0);
    EXPECT_DOUBLE_EQ(sets.Values[2], -30.0);
}

TEST_F(LiveValues, DivisionByZeroSpoilsOnlyThatSlotOfThatBlock) {
    definitions[0].Formula = "100/(X-5)";
    definitions[1].Formula = "X*2";
    auto block = BlockWithSlot0(5, 0);
    block[2] = 21;
    sets.ComputeValues(block.data());
    EXPECT_EQ(sets.Values[0], 0.0);
    EXPECT_EQ(sets.Values[1], 42.0);
    sets.ComputeValues(BlockWithSlot0(7, 0).data());
    EXPECT_EQ(sets.Values[0], 50.0);
}

TEST_F(LiveValues, AssignmentInSlotZeroIsSeenByTheLaterSlots) {
    Evaluator().set_variable('K', 0.0);
    definitions[0].Formula = "K=X*10;K";
    for (int slot = 1; slot < 16; ++slot) definitions[slot].Formula = "K+X";
    std::array<std::uint8_t, 32> block{};
    block[0] = 3;
    for (int slot = 1; slot < 16; ++slot) block[2 * slot] = static_cast<std::uint8_t>(slot);
    sets.ComputeValues(block.data());
    EXPECT_EQ(sets.Values[0], 30.0);
    for (int slot = 1; slot < 16; ++slot) EXPECT_EQ(sets.Values[slot], 30.0 + slot) << slot;
    Evaluator().set_variable('K', 0.0);
}

// --- Sets and the slot map ---

TEST_F(LiveValues, SetIndexIsLimitedToTheTwoSets) {
    sets.SelectSet(-3);
    EXPECT_EQ(sets.Slots[0], &definitions[0]);
    sets.SelectSet(7);
    EXPECT_EQ(sets.Slots[0], &definitions[16]);
    EXPECT_EQ(sets.Slots[15], &definitions[31]);
}

TEST_F(LiveValues, SlotMapEntryPastTheTableSelectsTheLastDefinition) {
    sets.SlotMap[16 + 3] = 200;
    sets.SelectSet(1);
    EXPECT_EQ(sets.Slots[3], &definitions[127]);
}

TEST_F(LiveValues, SelectingASetClearsTheBlockAndValues) {
    sets.ComputeValues(BlockWithSlot0(9, 9).data());
    sets.SelectSet(0);
    EXPECT_THAT(sets.Values, Each(0.0));
    EXPECT_THAT(sets.LiveBlock, Each(0));
}

TEST(LiveValuesFromFile, SlotFiveOfTheSecondSetIsDefinitionTwentyOne) {
    ScratchFolder folder;
    WriteBytes(folder / "database.ini",
               "[0015]\r\nCodeEn=UREF\r\nAddress=128\r\n[0005]\r\nCodeEn=QINJ\r\nAddress=10a\r\n");
    DefinitionDatabase database(folder / "database.ini");
    ParameterSets sets(database.Parameters);
    EXPECT_EQ(sets.Slots[5]->CodeEn, "QINJ");
    EXPECT_EQ(sets.SlotAddresses()[5], 0x010Au);
    sets.SelectSet(1);
    EXPECT_EQ(sets.Slots[5], &database.Parameters[21]);
    EXPECT_EQ(sets.Slots[5]->CodeEn, "UREF");
    EXPECT_EQ(sets.SlotAddresses()[5], 0x0128u);
}

// --- The live tick ---

TEST_F(LiveValues, TickSelectsOnlyWhileTheLinkIsNotGood) {
    for (int i = 0; i < 16; ++i) link.QueueReply({0x09});
    std::vector<std::uint8_t> reply{0x09, 0x20};
    reply.resize(34, 0);
    reply[2] = 42;
    link.QueueReply(reply);
    link.QueueReply(reply);
    bool linkOk = false;
    EXPECT_TRUE(PollLiveData(*line, sets, 1, linkOk));
    EXPECT_TRUE(linkOk);
    EXPECT_EQ(sets.Slots[0], &definitions[16]);
    EXPECT_EQ(sets.Values[0], 42.0);
    EXPECT_EQ(link.Sent().size(), 17u);
    EXPECT_TRUE(PollLiveData(*line, sets, 1, linkOk));
    EXPECT_EQ(link.Sent().size(), 18u);  // the block alone
}

TEST_F(LiveValues, RefusedSelectionStillReadsTheBlock) {
    for (int i = 0; i < 5; ++i) link.QueueReply({0x09});
    link.QueueReply({0x3F});
    std::vector<std::uint8_t> reply{0x09, 0x20};
    reply.resize(34, 1);
    link.QueueReply(reply);
    bool linkOk = false;
    EXPECT_TRUE(PollLiveData(*line, sets, 0, linkOk));
    EXPECT_FALSE(linkOk);
    const auto sent = link.Sent();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[5][2], 5);
    EXPECT_THAT(sent[6], ElementsAre(0x09, 0x84, 0x00, 0x00, 0x0F, 0x9C));
}

TEST_F(LiveValues, FailedBlockClearsTheLinkAndKeepsTheValues) {
    std::vector<std::uint8_t> good{0x09, 0x20};
    good.resize(34, 0);
    good[2] = 7;
    link.QueueReply(good);
    std::vector<std::uint8_t> shortReply{0x09, 0x20};
    shortReply.resize(33, 0);
    link.QueueReply(shortReply);
    bool linkOk = true;
    ASSERT_TRUE(PollLiveData(*line, sets, 0, linkOk));
    EXPECT_FALSE(PollLiveData(*line, sets, 0, linkOk));
    EXPECT_FALSE(linkOk);
    EXPECT_EQ(sets.Values[0], 7.0);
}
