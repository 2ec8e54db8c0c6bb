// The identification, hour-counter and VIN requests: decoding, what a failed
// reply leaves, and the order of the ECU information read.

#include "protocol/EcuIdentification.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "protocol/EcuInformation.h"
#include "support/EcuTexts.h"
#include "support/ScriptedLink.h"

using ::testing::ElementsAre;
using Bytes = ScriptedLink::Bytes;

namespace {

// A reply of `length` bytes: 0x09, then `fill`, with the given bytes set.
Bytes Reply(std::size_t length, std::initializer_list<std::pair<std::size_t, std::uint8_t>> set,
            std::uint8_t fill = 0) {
    Bytes reply(length, fill);
    reply[0] = 0x09;
    for (const auto& [at, byte] : set) reply[at] = byte;
    return reply;
}

// The counter reply with words W0..W4.
Bytes Words(std::array<std::uint16_t, 5> words) {
    Bytes reply = Reply(ReplyLength::HourCounters, {});
    for (std::size_t i = 0; i < words.size(); ++i) {
        reply[2 + 2 * i] = static_cast<std::uint8_t>(words[i] & 0xFF);
        reply[3 + 2 * i] = static_cast<std::uint8_t>(words[i] >> 8);
    }
    return reply;
}

}  // namespace

// --- Decoding ---

TEST(EcuIdentification, CountersRoundTiesToEvenAndTheUnsentTimeWraps) {
    EXPECT_EQ(CounterText(0x0123), "18:11");
    EXPECT_EQ(CounterText(0x0010), "1:0");
    EXPECT_EQ(CounterText(0x000F), "0:56");
    EXPECT_EQ(CounterText(0x0016), "1:22");  // 22.5
    EXPECT_EQ(CounterText(0x0012), "1:8");   // 7.5
    EXPECT_EQ(CounterText(0x000A), "0:38");  // 37.5
    const HourCounterTexts texts = DecodeHourCounters(Words({100, 50, 40, 30, 400}).data());
    EXPECT_EQ(texts.HighSpeedSmallLoadTime, "4094:45");  // 100 - 120 wraps to 65516
    EXPECT_EQ(texts.MaximumLoadTime, "1:52");            // 52.5
    EXPECT_EQ(texts.RackZeroPosition, "25");
    EXPECT_EQ(DecodeHourCounters(Words({0, 0, 0, 0, 24}).data()).RackZeroPosition, "2");  // 1.5
    EXPECT_EQ(DecodeHourCounters(Words({0, 0, 0, 0, 40}).data()).RackZeroPosition, "2");  // 2.5
}

TEST(EcuIdentification, BcdBytesReadAsDecimalUpToTheFirstLetter) {
    const std::pair<std::uint8_t, int> cases[] = {{0x25, 25}, {0x07, 7},  {0x00, 0},   {0x1A, 1},
                                                  {0x9F, 9},  {0x0C, 12}, {0xB3, 179}, {0xFF, 255}};
    for (const auto& [byte, value] : cases) EXPECT_EQ(BcdToDecimal(byte), value) << int(byte);
}

TEST(EcuIdentification, IdentificationUserAndVinDecode) {
    const IdentificationTexts id = DecodeIdentification(Reply(34, {{2, 0x66},
                                                                   {3, 0x65},
                                                                   {4, 0x00},
                                                                   {5, 0x67},
                                                                   {12, 1},
                                                                   {13, 2},
                                                                   {14, 3},
                                                                   {15, 4},
                                                                   {16, 5},
                                                                   {18, 0x01},
                                                                   {19, 0x77},
                                                                   {20, 0x12},
                                                                   {22, 0x99},
                                                                   {23, 0x19}})
                                                            .data());
    EXPECT_EQ(id.ManufacturerCode, "ABC ");  // bytes 3, 2, 5, 4; a code 0 is a space
    EXPECT_EQ(id.SerialNumber, "21435");
    EXPECT_EQ(id.ProductionDate, "01.12.1999");
    // Eight equal scrambled bytes: the first character, then zeros.
    const UserAndDateTexts user = DecodeUserAndDate(Reply(34, {}, 0x3C).data());
    EXPECT_EQ(user.UserCode, std::string(1, static_cast<char>(0x3C ^ 0x5A)));
    EXPECT_EQ(user.LastProgrammingDate, "00.00.00");
    // cp866 Pe, A, Kha are cp1251 0xCF, 0xC0, 0xD5; a zero byte ends the VIN.
    EXPECT_EQ(DecodeVin(Reply(20, {{3, 0x8F}, {4, 0x80}, {5, '7'}, {6, 0x95}, {9, 0}}, 'Z').data()),
              "\xCF\xC0"
              "7\xD5ZZ");
}

// A fixed-room text taking every digit of an out-of-range byte would run into
// the text beside it; here each text grows instead and stands alone.
TEST(EcuIdentification, BytesFFEverywhereGiveLongTextsThatDisturbNoNeighbour) {
    ScriptedLink link;
    for (std::size_t length : {12, 34, 34, 20}) link.QueueReply(Reply(length, {}, 0xFF));
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.ReadHourCounters() && ecu.ReadIdentification() && ecu.ReadUserAndDate() &&
                ecu.ReadVin());
    EXPECT_THAT(Texts(ecu), ElementsAre("\xFF\xFF\xFF\xFF", "255.255.255255", "255255255255255",
                                        "\xA5", "00.00.00", std::string(17, '\xA0'), "4095:56",
                                        "4095:56", "0:8", "4095:56", "4095:56", "4096"));
}

TEST(EcuIdentification, AFailedRequestKeepsEveryText) {
    ScriptedLink link;
    for (std::size_t length : {12, 34, 34, 20}) link.QueueReply(Reply(length, {}, 0x31));
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.ReadHourCounters() && ecu.ReadIdentification() && ecu.ReadUserAndDate() &&
                ecu.ReadVin());
    const auto before = Texts(ecu);
    const std::pair<bool (EcuProtocol::*)(), std::size_t> requests[] = {
        {&EcuProtocol::ReadHourCounters, 12},
        {&EcuProtocol::ReadIdentification, 34},
        {&EcuProtocol::ReadUserAndDate, 34},
        {&EcuProtocol::ReadVin, 20}};
    for (const auto& [read, length] : requests) {
        link.QueueReply(Reply(length, {{0, 0x0A}}, 0x11));  // wrong first byte
        EXPECT_FALSE((ecu.*read)());
        link.QueueReply(Reply(length - 1, {}, 0x11));  // one byte short
        EXPECT_FALSE((ecu.*read)());
    }
    EXPECT_EQ(Texts(ecu), before);
}

// --- The ECU information read ---

TEST(EcuInformation, OnlyVersionsFortyToFortyNineAreAskedForUserAndVin) {
    for (std::uint16_t major : {39, 40, 49, 50}) {
        ScriptedLink link;
        link.QueueReply(Reply(ReplyLength::Probe, {{2, static_cast<std::uint8_t>(major)}}));
        link.QueueReply(Words({1, 2, 3, 4, 5}));
        link.QueueReply({});  // no identification: the read goes on all the same
        EcuProtocol ecu(link);
        EXPECT_TRUE(ReadEcuInformation(ecu));
        std::vector<RequestFrame> expected{Frames::Probe, Frames::HourCounters,
                                           Frames::Identification};
        if (major == 40 || major == 49)
            expected.insert(expected.end(), {Frames::UserAndDate, Frames::Vin});
        ASSERT_EQ(link.Sent().size(), expected.size()) << major;
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(link.Sent()[i], Bytes(expected[i].Bytes.begin(), expected[i].Bytes.end()));
    }
}

TEST(EcuInformation, StopsAfterAFailedProbeOrCounterRead) {
    ScriptedLink link;
    EcuProtocol ecu(link);
    EXPECT_FALSE(ReadEcuInformation(ecu));
    link.QueueReply(Reply(ReplyLength::Probe, {{2, 40}}));
    link.QueueReply(Reply(ReplyLength::HourCounters - 1, {}));
    EXPECT_FALSE(ReadEcuInformation(ecu));
    EXPECT_EQ(link.Sent().size(), 3u);  // probe; probe, counters
}
