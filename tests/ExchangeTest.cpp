// The request frames and the four exchange shapes. The typed suite makes each
// request of an ECU on a scripted port and, on POSIX systems, of the simulator
// over a pseudo-terminal. Damaged replies that need exact bytes are scripted
// byte by byte on a ScriptedLink; read budgets and hang-ups only a real line
// has are at the end.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "protocol/EcuProtocol.h"
#include "protocol/ErrorBitmap.h"
#include "support/FrameBytes.h"
#include "support/LineFixture.h"
#include "support/ScriptedLink.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Bytes = ScriptedLink::Bytes;

namespace {

template <typename Ecus>
class Exchange : public LineTest<Ecus> {};
TYPED_TEST_SUITE(Exchange, EcuBenches, EcuBenchNames);

Bytes Block(std::size_t n, std::uint8_t first = 1) {
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
    return bytes;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Bytes ProbeReply40_3_5{0x09, 0x77, 0x28, 0x00, 0x05, 0x00, 0x03, 0x00, 0xE9, 0x03};

}  // namespace

// --- Frames and checksums ---

TYPED_TEST(Exchange, EveryRequestArrivesAtTheEcuByteForByte) {
    EcuProtocol& ecu = this->Ecu();
    this->ecus.SetLiveValue(this->Port, 0x1234, 0);
    WorkBuffer buffer{};
    EXPECT_TRUE(ecu.Probe());
    EXPECT_TRUE(ecu.ReadHourCounters());
    EXPECT_TRUE(ecu.ReadIdentification());
    EXPECT_TRUE(ecu.ReadUserAndDate());
    EXPECT_TRUE(ecu.ReadVin());
    EXPECT_EQ(ecu.SelectParameter(3, 0x1234), 0);
    EXPECT_EQ(ecu.SelectParameter(7, 0x01A4), 0);
    EXPECT_EQ(ecu.SelectParameter(2, 0xABCD1234u), 0);  // only the low sixteen bits go out
    EXPECT_TRUE(ecu.ReadLiveBlock(buffer));
    EXPECT_TRUE(ecu.ReadErrors(buffer));
    EXPECT_TRUE(ecu.ClearErrors());
    const std::vector<Bytes> expected{
        {0x09, 0x80, 0x00, 0x00, 0x00, 0x89}, {0x09, 0x81, 0x00, 0x00, 0x00, 0x8A},
        {0x09, 0x82, 0x01, 0x00, 0x00, 0x8C}, {0x09, 0x82, 0x0A, 0x00, 0x00, 0x95},
        {0x09, 0x90, 0x00, 0x00, 0x00, 0x99}, {0x09, 0x85, 0x03, 0x34, 0x12, 0xD7},
        {0x09, 0x85, 0x07, 0xA4, 0x01, 0x3A}, {0x09, 0x85, 0x02, 0x34, 0x12, 0xD6},
        {0x09, 0x84, 0x00, 0x00, 0x0F, 0x9C}, {0x09, 0x83, 0x00, 0x00, 0x00, 0x8C},
        {0x09, 0x83, 0x01, 0xFF, 0xFF, 0x8B}};
    EXPECT_THAT(FrameBytes(this->Received()), ElementsAreArray(expected));
}

TEST(RequestFrames, ChecksumWrapsAtEightBits) {
    std::uint8_t frame[6] = {0x09, 0x85, 0xFF, 0xFF, 0xFF, 0x00};
    SetChecksum(frame);
    EXPECT_EQ(frame[5], static_cast<std::uint8_t>(0x09 + 0x85 + 3 * 0xFF));
}

// --- Shape A: the probe ---

TYPED_TEST(Exchange, ProbeReadsVersionAndApplication) {
    ASSERT_TRUE(this->Ecu().Probe());
    EXPECT_EQ(this->Ecu().ProgramVersion, "40.3.5");
    EXPECT_EQ(this->Ecu().ProgramVersionMajor, 40);
    EXPECT_EQ(this->Ecu().ApplicationId, "1001");
}

TYPED_TEST(Exchange, WrongFirstByteFailsTheProbeAndKeepsThePreviousTexts) {
    EcuProtocol& ecu = this->Ecu();
    ASSERT_TRUE(ecu.Probe());
    EcuState other = this->ecus.State(this->Port);
    other.VersionMajor = 41;
    other.ApplicationId = 7;
    this->ecus.SetState(this->Port, other);
    SimFaults faults;
    faults.FirstByte = 0x0A;
    this->SetFaults(faults);
    EXPECT_FALSE(ecu.Probe());
    EXPECT_EQ(ecu.ProgramVersion, "40.3.5");
    EXPECT_EQ(ecu.ProgramVersionMajor, 40);
    EXPECT_EQ(ecu.ApplicationId, "1001");
}

// The reply's first six bytes are taken for the echo; what is left is too short.
TYPED_TEST(Exchange, LineWithoutEchoFailsProbeAndClear) {
    SimFaults faults;
    faults.NoEcho = true;
    this->SetFaults(faults);
    EXPECT_FALSE(this->Ecu().Probe());
    EXPECT_EQ(this->Ecu().ProgramVersion, "");
    EXPECT_FALSE(this->Ecu().ClearErrors());
}

TYPED_TEST(Exchange, SilenceFailsEveryReplyButNotTheClearWhichWaitsForNone) {
    EcuProtocol& ecu = this->Ecu();
    SimFaults faults;
    faults.Silent = true;
    this->SetFaults(faults);
    EXPECT_FALSE(ecu.Probe());
    EXPECT_EQ(ecu.ProgramVersion, "");
    WorkBuffer buffer{};
    EXPECT_FALSE(ecu.ReadLiveBlock(buffer));
    EXPECT_FALSE(ecu.ReadErrors(buffer));
    EXPECT_EQ(ecu.SelectParameter(0, 0x0100), -7);
    EXPECT_EQ(ecu.SelectionAnswer, std::nullopt);
    EXPECT_TRUE(ecu.ClearErrors());
}

TEST(ShapeA, WordsAreUnsignedInWireOrderV1V3V2WhateverByteOne) {
    ScriptedLink link;
    link.QueueReply({0x09, 0xFF, 0xFF, 0xFF, 0x00, 0x80, 0x01, 0x00, 0xFF, 0xFF});
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.Probe());
    EXPECT_EQ(ecu.ProgramVersion, "65535.1.32768");
    EXPECT_EQ(ecu.ProgramVersionMajor, 65535);
    EXPECT_EQ(ecu.ApplicationId, "65535");
}

TEST(ShapeA, ShortReplyFailsAndKeepsEmptyTexts) {
    ScriptedLink link;
    link.QueueReply(Bytes(ProbeReply40_3_5.begin(), ProbeReply40_3_5.end() - 1));
    EcuProtocol ecu(link);
    EXPECT_FALSE(ecu.Probe());
    EXPECT_EQ(ecu.ProgramVersion, "");
    EXPECT_EQ(ecu.ApplicationId, "");
}

// --- The echo: only the frame itself proves the request went out ---

TEST(Echo, ShortEchoFailsBeforeReadingTheReply) {
    ScriptedLink link;
    link.Echo = false;
    link.QueueReply({0x09, 0x80, 0x00});
    EcuProtocol ecu(link);
    EXPECT_FALSE(ecu.Probe());
}

// Fixed fault: bytes left from an earlier exchange were read as the echo, and
// the reply after them decoded into values ("version 0.32777.35072").
TEST(Echo, StaleBytesBeforeTheEchoFailEveryShapeAndArePurged) {
    const Bytes stale = FrameBytes(Frames::Select(3, 0x0102));  // a killed run's last request
    const auto withStale = [&](const Bytes& reply) {
        auto link = std::make_unique<ScriptedLink>();
        link->Waiting.assign(stale.begin(), stale.end());
        link->QueueReply(reply);
        return link;
    };
    auto probe = withStale(ProbeReply40_3_5);
    EcuProtocol probing(*probe);
    EXPECT_FALSE(probing.Probe());
    EXPECT_EQ(probing.ProgramVersion, "");
    auto block = withStale(Concat({0x09, 0x00}, Block(32)));
    WorkBuffer buffer{};
    EXPECT_FALSE(EcuProtocol(*block).ReadLiveBlock(buffer));
    auto errors = withStale(Concat({0x09, 0x00}, Block(16)));
    EXPECT_FALSE(EcuProtocol(*errors).ReadErrors(buffer));
    auto clear = withStale({0x09, 0x00});
    EXPECT_FALSE(EcuProtocol(*clear).ClearErrors());
    for (ScriptedLink* link : {probe.get(), block.get(), errors.get(), clear.get()}) {
        EXPECT_EQ(link->Purges(), 1u);
        EXPECT_TRUE(link->Waiting.empty()) << "the shifted reply waits for the next request";
    }
}

// A selection purges before its frame, so stale bytes cannot get in front of
// its echo; but six that are not the frame, however they came, make its status
// byte just as foreign. A short echo is let pass as before.
TEST(Echo, SelectionWithAWholeForeignEchoIsRefusedAfterAPurge) {
    ScriptedLink link;
    link.Echo = false;
    link.QueueReply(Concat(FrameBytes(Frames::Probe), {0x09}));
    EcuProtocol ecu(link);
    EXPECT_EQ(ecu.SelectParameter(0, 0x100), -7);
    EXPECT_EQ(ecu.SelectionAnswer, std::nullopt);
    EXPECT_EQ(link.Purges(), 2u);
    EXPECT_TRUE(link.Waiting.empty());
}

// Fixed fault: an echo cut to four or five bytes was made whole by the ECU's
// answer, and the clear counted as gone out.
TEST(Echo, AnEchoOfThreeToFiveBytesFailsProbeAndClear) {
    for (std::size_t echoed = 3; echoed <= 5; ++echoed) {
        const auto cut = [&](const RequestFrame& frame, const Bytes& reply) {
            auto link = std::make_unique<ScriptedLink>();
            link->Echo = false;
            link->QueueReply(
                Concat(Bytes(frame.Bytes.begin(), frame.Bytes.begin() + echoed), reply));
            return link;
        };
        auto probe = cut(Frames::Probe, ProbeReply40_3_5);
        EXPECT_FALSE(EcuProtocol(*probe).Probe()) << echoed;
        auto clear = cut(Frames::ClearErrors, {0x09, 0x00});
        EXPECT_FALSE(EcuProtocol(*clear).ClearErrors()) << echoed;
    }
}

// --- Shape B: acknowledged blocks ---

TYPED_TEST(Exchange, WrongAcknowledgementStopsBeforeTheBlock) {
    SimFaults faults;
    faults.FirstByte = 0x0A;
    this->SetFaults(faults);
    WorkBuffer buffer{};
    EXPECT_FALSE(this->Ecu().ReadLiveBlock(buffer));
    // The byte after the acknowledgement and the block wait in the input queue...
    std::uint8_t rest[64];
    EXPECT_EQ(this->Link().Read(rest, 33), 33u);
    EXPECT_EQ(this->Link().ReadByte(), std::nullopt);
    // ...and the next request finds the way clear.
    this->SetFaults({});
    EXPECT_TRUE(this->Ecu().Probe());
}

TYPED_TEST(Exchange, ErrorBitmapArrivesInBytesZeroToFifteen) {
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[0] = 0x01;
    bitmap[15] = 0x80;
    this->ecus.SetErrorBitmap(this->Port, bitmap);
    WorkBuffer buffer{};
    ASSERT_TRUE(this->Ecu().ReadErrors(buffer));
    EXPECT_THAT(Bytes(buffer.begin(), buffer.begin() + 16), ElementsAreArray(bitmap));
    EXPECT_THAT(StoredErrors(buffer.data()), ElementsAre(0, 127));
}

TEST(ShapeB, LiveBlockSucceedsWhateverTheByteAfterTheAcknowledgement) {
    for (std::uint8_t second : {0x00, 0x20, 0x09, 0xFF}) {
        ScriptedLink link;
        link.QueueReply(Concat({0x09, second}, Block(32)));
        EcuProtocol ecu(link);
        WorkBuffer buffer{};
        ASSERT_TRUE(ecu.ReadLiveBlock(buffer)) << int(second);
        EXPECT_THAT(Bytes(buffer.begin(), buffer.begin() + 32), ElementsAreArray(Block(32)));
        EXPECT_THAT(link.Sent(), ElementsAre(FrameBytes(Frames::LiveBlock)));
    }
}

TEST(ShapeB, ShortBlockFails) {
    ScriptedLink link;
    link.QueueReply(Concat({0x09, 0x20}, Block(31)));
    link.QueueReply(Concat({0x09, 0x00}, Block(15)));
    EcuProtocol ecu(link);
    WorkBuffer buffer{};
    EXPECT_FALSE(ecu.ReadLiveBlock(buffer));
    link.Purge();
    EXPECT_FALSE(ecu.ReadErrors(buffer));
}

// --- Shape C: the status byte of a selection ---

TYPED_TEST(Exchange, StatusBytesMapToSelectStatusAndTheByteIsKept) {
    EcuProtocol& ecu = this->Ecu();
    EXPECT_EQ(ecu.SelectParameter(0, 0x0100), 0);
    EXPECT_EQ(ecu.SelectionAnswer, 0x09);
    const std::pair<std::uint8_t, int> refusals[] = {{0x1F, -1}, {0x2F, -2}, {0x3F, -3}, {0x4F, -4},
                                                     {0x5F, -5}, {0x6F, -6}, {0x10, -7}, {0x00, -7},
                                                     {0xFF, -7}, {0x0F, -7}};
    for (const auto& [byte, status] : refusals) {
        this->ecus.RefuseSlot(this->Port, 1, byte);
        EXPECT_EQ(ecu.SelectParameter(1, 0x0100), status) << int(byte);
        EXPECT_EQ(ecu.SelectionAnswer, byte);
    }
}

TEST(ShapeC, PurgesBeforeTheFrameSoStaleBytesCannotPoseAsTheStatus) {
    ScriptedLink link;
    link.Waiting = {0x09, 0x09, 0x09};  // left over from an earlier, failed exchange
    link.QueueReply({0x3F});
    EcuProtocol ecu(link);
    EXPECT_EQ(ecu.SelectParameter(5, 0x100), -3);
    ASSERT_EQ(link.Log.size(), 2u);
    EXPECT_EQ(link.Log[0].What, ScriptedLink::Event::Purge);
    EXPECT_EQ(link.Log[1].What, ScriptedLink::Event::Write);
}

TEST(ShapeC, EchoCountIsNotExamined) {
    ScriptedLink link;
    link.Echo = false;
    link.LateReplies.push_back({0x09});  // the status comes, the echo never does
    EcuProtocol ecu(link);
    EXPECT_EQ(ecu.SelectParameter(0, 0x100), 0);
}

// --- Shape D: the clear request ---

TYPED_TEST(Exchange, ClearReadsNothingAfterTheEchoAndItsAnswerWaitsForThePurge) {
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[2] = 0x04;
    this->ecus.SetErrorBitmap(this->Port, bitmap);
    ASSERT_TRUE(this->Ecu().ClearErrors());
    EXPECT_THAT(FrameBytes(this->Received()), ElementsAre(FrameBytes(Frames::ClearErrors)));
    // The ECU's answer was left unread: it comes, however late.
    Bytes answer;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (answer.size() < 2 && std::chrono::steady_clock::now() < limit)
        if (const auto byte = this->Link().ReadByte()) answer.push_back(*byte);
    EXPECT_THAT(answer, ElementsAre(0x09, 0x00));
    this->Link().Purge();
    WorkBuffer buffer{};
    ASSERT_TRUE(this->Ecu().ReadErrors(buffer));
    EXPECT_THAT(StoredErrors(buffer.data()), IsEmpty());
}

// --- Over a pseudo-terminal only: read budgets and hang-ups ---

#ifndef _WIN32
namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class ExchangeOverPty : public LineTest<SimulatedEcus> {};

}  // namespace

TEST_F(ExchangeOverPty, NineByteReplyFailsWithinTheReadBudget) {
    SimFaults faults;
    faults.ShortBy = 1;
    SetFaults(faults);
    const auto start = Clock::now();
    EXPECT_FALSE(Ecu().Probe());
    // 10 bytes × 20 ms, plus the final read of up to 110 ms; this only tells it from a hang.
    EXPECT_LT(Ms(Clock::now() - start), 5000.0);
    EXPECT_EQ(Ecu().ProgramVersion, "");
}

TEST_F(ExchangeOverPty, GarbageBeforeTheReplyFailsTheProbe) {
    SimFaults faults;
    faults.Garbage = {0x55, 0xAA};
    SetFaults(faults);
    EXPECT_FALSE(Ecu().Probe());
}

TEST_F(ExchangeOverPty, DelayedReplyWithinTheBudgetStillSucceeds) {
    SimFaults faults;
    faults.Delay = std::chrono::milliseconds(60);
    SetFaults(faults);
    EXPECT_TRUE(Ecu().Probe());
}

TEST_F(ExchangeOverPty, HangUpInTheMiddleOfAReplyGivesAShortCountWithinTheBudget) {
    SimFaults faults;
    faults.HangUpAfter = 4;
    SetFaults(faults);
    const auto start = Clock::now();
    EXPECT_FALSE(Ecu().Probe());
    EXPECT_LT(Ms(Clock::now() - start), 5000.0);
    // Later exchanges fail at once until the port is opened again: ten rounds
    // that each waited for their echo would take over 6 s.
    const auto again = Clock::now();
    for (int round = 0; round < 10; ++round) {
        EXPECT_FALSE(Ecu().Probe());
        WorkBuffer buffer{};
        EXPECT_FALSE(Ecu().ReadLiveBlock(buffer));
        EXPECT_EQ(Ecu().SelectParameter(0, 0x0100), -7);
    }
    EXPECT_LT(Ms(Clock::now() - again), 3000.0);
}
#endif
