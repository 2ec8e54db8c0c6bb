// The request frames and the four exchange shapes, on scripted bytes: exact
// and instant. The same behaviours over a real pseudo-terminal with the
// simulator are in ExchangeOverPtyTest.cpp.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "protocol/EcuProtocol.h"
#include "support/ScriptedLink.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Bytes = ScriptedLink::Bytes;

namespace {

Bytes FrameBytes(const RequestFrame& frame) {
    return Bytes(frame.Bytes.begin(), frame.Bytes.end());
}

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

TEST(RequestFrames, EveryCommandGoesOutByteForByte) {
    EXPECT_THAT(FrameBytes(Frames::Probe), ElementsAre(0x09, 0x80, 0x00, 0x00, 0x00, 0x89));
    EXPECT_THAT(FrameBytes(Frames::HourCounters), ElementsAre(0x09, 0x81, 0x00, 0x00, 0x00, 0x8A));
    EXPECT_THAT(FrameBytes(Frames::Identification),
                ElementsAre(0x09, 0x82, 0x01, 0x00, 0x00, 0x8C));
    EXPECT_THAT(FrameBytes(Frames::UserAndDate), ElementsAre(0x09, 0x82, 0x0A, 0x00, 0x00, 0x95));
    EXPECT_THAT(FrameBytes(Frames::Vin), ElementsAre(0x09, 0x90, 0x00, 0x00, 0x00, 0x99));
    EXPECT_THAT(FrameBytes(Frames::ReadErrors), ElementsAre(0x09, 0x83, 0x00, 0x00, 0x00, 0x8C));
    EXPECT_THAT(FrameBytes(Frames::ClearErrors), ElementsAre(0x09, 0x83, 0x01, 0xFF, 0xFF, 0x8B));
    EXPECT_THAT(FrameBytes(Frames::LiveBlock), ElementsAre(0x09, 0x84, 0x00, 0x00, 0x0F, 0x9C));
}

TEST(RequestFrames, SelectionCarriesSlotAndAddressLowByteFirst) {
    EXPECT_THAT(FrameBytes(Frames::Select(3, 0x1234)),
                ElementsAre(0x09, 0x85, 0x03, 0x34, 0x12, 0xD7));
    EXPECT_THAT(FrameBytes(Frames::Select(7, 0x01A4)),
                ElementsAre(0x09, 0x85, 0x07, 0xA4, 0x01, 0x3A));
}

TEST(RequestFrames, ChecksumWrapsAtEightBits) {
    std::uint8_t frame[6] = {0x09, 0x85, 0xFF, 0xFF, 0xFF, 0x00};
    SetChecksum(frame);
    EXPECT_EQ(frame[5], static_cast<std::uint8_t>(0x09 + 0x85 + 3 * 0xFF));
}

TEST(RequestFrames, OnlyTheLowSixteenBitsOfAnAddressAreSent) {
    ScriptedLink link;
    link.QueueReply({0x09});
    EcuProtocol ecu(link);
    EXPECT_EQ(ecu.SelectParameter(2, 0xABCD1234u), 0);
    EXPECT_THAT(link.Sent().at(0), ElementsAreArray(FrameBytes(Frames::Select(2, 0x1234))));
}

// --- Shape A: the probe and its decoding ---

TEST(ShapeA, ProbeDecodesVersionInWireOrderV1V3V2) {
    ScriptedLink link;
    link.QueueReply(ProbeReply40_3_5);
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.Probe());
    EXPECT_EQ(ecu.ProgramVersion, "40.3.5");
    EXPECT_EQ(ecu.ProgramVersionMajor, 40);
    EXPECT_EQ(ecu.ApplicationId, "1001");
    EXPECT_THAT(link.Sent(), ElementsAre(FrameBytes(Frames::Probe)));
}

TEST(ShapeA, WordsAreUnsignedAndAnyByteOneOrLastByteIsAccepted) {
    ScriptedLink link;
    link.QueueReply({0x09, 0xFF, 0xFF, 0xFF, 0x00, 0x80, 0x01, 0x00, 0xFF, 0xFF});
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.Probe());
    EXPECT_EQ(ecu.ProgramVersion, "65535.1.32768");
    EXPECT_EQ(ecu.ProgramVersionMajor, 65535);
    EXPECT_EQ(ecu.ApplicationId, "65535");
}

// --- Shape A: short and damaged replies ---

TEST(ShapeA, WrongFirstByteFailsAndKeepsPreviousTexts) {
    ScriptedLink link;
    link.QueueReply(ProbeReply40_3_5);
    Bytes damaged = ProbeReply40_3_5;
    damaged[0] = 0x0A;
    damaged[2] = 0x29;
    link.QueueReply(damaged);
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.Probe());
    EXPECT_FALSE(ecu.Probe());
    EXPECT_EQ(ecu.ProgramVersion, "40.3.5");
    EXPECT_EQ(ecu.ProgramVersionMajor, 40);
    EXPECT_EQ(ecu.ApplicationId, "1001");
}

TEST(ShapeA, ShortReplyFailsAndKeepsEmptyTexts) {
    ScriptedLink link;
    link.QueueReply(Bytes(ProbeReply40_3_5.begin(), ProbeReply40_3_5.end() - 1));
    EcuProtocol ecu(link);
    EXPECT_FALSE(ecu.Probe());
    EXPECT_EQ(ecu.ProgramVersion, "");
    EXPECT_EQ(ecu.ApplicationId, "");
}

TEST(ShapeA, LineWithoutEchoFailsTheRequest) {
    ScriptedLink link;
    link.Echo = false;
    link.QueueReply(ProbeReply40_3_5);
    EcuProtocol ecu(link);
    // The first six reply bytes stand in for the echo; the rest is too short.
    EXPECT_FALSE(ecu.Probe());
}

TEST(ShapeA, ShortEchoFailsBeforeReadingTheReply) {
    ScriptedLink link;
    link.Echo = false;
    link.QueueReply({0x09, 0x80, 0x00});
    EcuProtocol ecu(link);
    EXPECT_FALSE(ecu.Probe());
}

// --- The echo: only the frame itself proves the request went out ---

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

TEST(ShapeB, WrongAcknowledgementStopsBeforeTheBlock) {
    ScriptedLink link;
    link.QueueReply(Concat({0x0A, 0x20}, Block(32)));
    EcuProtocol ecu(link);
    WorkBuffer buffer{};
    EXPECT_FALSE(ecu.ReadLiveBlock(buffer));
    // Nothing after the acknowledgement was read: it waits for the next purge.
    EXPECT_EQ(link.Waiting.size(), 1u + 32u);
}

TEST(ShapeB, MissingAcknowledgementFails) {
    ScriptedLink link;
    EcuProtocol ecu(link);
    WorkBuffer buffer{};
    EXPECT_FALSE(ecu.ReadLiveBlock(buffer));
    EXPECT_FALSE(ecu.ReadErrors(buffer));
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

TEST(ShapeB, ErrorBitmapArrivesInBytesZeroToFifteen) {
    ScriptedLink link;
    Bytes bitmap(16, 0);
    bitmap[0] = 0x01;
    bitmap[15] = 0x80;
    link.QueueReply(Concat({0x09, 0x00}, bitmap));
    EcuProtocol ecu(link);
    WorkBuffer buffer{};
    ASSERT_TRUE(ecu.ReadErrors(buffer));
    EXPECT_THAT(Bytes(buffer.begin(), buffer.begin() + 16), ElementsAreArray(bitmap));
    EXPECT_THAT(link.Sent(), ElementsAre(FrameBytes(Frames::ReadErrors)));
}

// --- Shape C: the status byte of a selection ---

TEST(ShapeC, StatusBytesMapToSelectStatusAndTheByteIsKept) {
    const std::pair<std::uint8_t, int> table[] = {{0x09, 0},  {0x1F, -1}, {0x2F, -2}, {0x3F, -3},
                                                  {0x4F, -4}, {0x5F, -5}, {0x6F, -6}, {0x10, -7},
                                                  {0x00, -7}, {0xFF, -7}, {0x0F, -7}};
    for (const auto& [byte, status] : table) {
        ScriptedLink link;
        link.QueueReply({byte});
        EcuProtocol ecu(link);
        EXPECT_EQ(ecu.SelectParameter(0, 0x100), status) << int(byte);
        EXPECT_EQ(ecu.SelectionAnswer, byte);
    }
}

TEST(ShapeC, SilenceIsRefusalSevenWithoutAByte) {
    ScriptedLink link;
    EcuProtocol ecu(link);
    EXPECT_EQ(ecu.SelectParameter(0, 0x100), -7);
    EXPECT_EQ(ecu.SelectionAnswer, std::nullopt);
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

TEST(ShapeD, ClearSendsTheFrameAndReadsNothingAfterTheEcho) {
    ScriptedLink link;
    link.QueueReply({0x09, 0x00});
    EcuProtocol ecu(link);
    EXPECT_TRUE(ecu.ClearErrors());
    EXPECT_THAT(link.Sent(), ElementsAre(FrameBytes(Frames::ClearErrors)));
    EXPECT_EQ(link.Waiting.size(), 2u);  // the answer is left for the caller's purge
}

TEST(ShapeD, ClearFailsWithoutEcho) {
    ScriptedLink link;
    link.Echo = false;
    EcuProtocol ecu(link);
    EXPECT_FALSE(ecu.ClearErrors());
}
