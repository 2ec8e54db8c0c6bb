// Clearing the ECU's error memory: the purges around the request, the
// read-back that tells whether it took, and a line restored after a click on
// clear errors, on scripted ports and on simulators.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "session/ErrorClearing.h"
#include "support/BehaviourFixture.h"
#include "support/LineFixture.h"
#include "support/LinkPort.h"
#include "support/ScriptedLink.h"

namespace {

using Event = ScriptedLink::Event;

bool Is(const RequestFrame& frame, const RequestFrame& expected) {
    return frame.Bytes == expected.Bytes;
}

// The ECU answers the clear request; that answer, never read, must not be
// left on the line for the next request's echo.
TEST(ErrorClearing, PurgeClearRequestPurge) {
    ScriptedLink link;
    link.QueueReply({FrameHeader, 0x00});
    RecordingSink sink;
    const auto line = LineOver(sink, link);
    EXPECT_TRUE(line->ClearErrorMemory());
    ASSERT_EQ(link.Log.size(), 3u);
    EXPECT_EQ(link.Log[0].What, Event::Purge);
    EXPECT_EQ(link.Log[1].What, Event::Write);
    EXPECT_THAT(link.Log[1].Sent, ::testing::ElementsAreArray(Frames::ClearErrors.Bytes));
    EXPECT_EQ(link.Log[2].What, Event::Purge);
    EXPECT_TRUE(link.Waiting.empty());
}

template <typename Ecus>
class ReadBack : public LineTest<Ecus> {
protected:
    ErrorClearing Clear() {
        const DefinitionDatabase definitions(VMX_SOURCE_DIR "/data/database.ini");
        return ClearAndReadBack(this->line, definitions);
    }
    void StoreErrorZero(bool keepsErrors) {
        EcuState state = this->ecus.State(this->Port);
        state.ErrorBitmap[0] = 0x01;
        state.KeepsErrors = keepsErrors;
        this->ecus.SetState(this->Port, state);
    }
};
TYPED_TEST_SUITE(ReadBack, EcuBenches, EcuBenchNames);

TYPED_TEST(ReadBack, TheMemoryIsReadAfterTheClearAndTellsWhetherItTook) {
    this->StoreErrorZero(false);
    // The clear's answer comes late, after the tool's purge (on the simulator).
    SimFaults late;
    late.Delay = std::chrono::milliseconds(30);
    this->SetFaults(late);
    const ErrorClearing cleared = this->Clear();
    EXPECT_TRUE(cleared.Sent);
    ASSERT_TRUE(cleared.Remaining);
    EXPECT_TRUE(cleared.Remaining->empty());
    const auto frames = this->Received();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(Is(frames[0], Frames::ClearErrors));
    EXPECT_TRUE(Is(frames[1], Frames::ReadErrors));

    this->StoreErrorZero(true);
    const ErrorClearing kept = this->Clear();
    ASSERT_TRUE(kept.Remaining);
    ASSERT_EQ(kept.Remaining->size(), 1u);
    EXPECT_EQ(kept.Remaining->front().Code, "P0115");
}

TYPED_TEST(ReadBack, WithoutTheEchoNothingIsReadBack) {
    SimFaults noEcho;
    noEcho.NoEcho = true;
    this->SetFaults(noEcho);
    const ErrorClearing clearing = this->Clear();
    EXPECT_FALSE(clearing.Sent);
    EXPECT_FALSE(clearing.Remaining);
    EXPECT_EQ(this->Received().size(), 1u);
}

// --- The window ---

template <typename Ecus>
class WindowClearing : public BehaviourTest<Ecus> {};
TYPED_TEST_SUITE(WindowClearing, EcuBenches, EcuBenchNames);

// A click on clear errors (unlike a key) leaves the link flag set: the tick
// after the adapter came back must still select the set before it reads.
TYPED_TEST(WindowClearing, ARestoredLineAfterAClickOnClearErrorsSelectsTheSetAgain) {
    this->ecus.AddEcu("COM1");
    this->Open();
    this->StartPolling();
    ASSERT_TRUE(this->window->LinkOk);
    this->ecus.Unplug("COM1");
    this->window->AResetErrorsExecute();
    this->ecus.Replug("COM1");
    const auto frames = this->Tick();
    ASSERT_EQ(frames.size(), 18u);  // probe, sixteen selections, block
    EXPECT_TRUE(Is(frames[0], Frames::Probe));
    for (int slot = 0; slot < SlotCount; ++slot) EXPECT_TRUE(IsSelection(frames[1 + slot], slot));
    EXPECT_TRUE(Is(frames[17], Frames::LiveBlock));
    EXPECT_EQ(this->view.FilledValues(0), SlotCount);
}

}  // namespace
