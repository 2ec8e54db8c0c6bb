// The identification, hour-counter and VIN requests: their decoding, what a
// failed reply leaves, the order of the ECU information read, and the
// simulator's encoding read back by the tool.

#include "protocol/EcuIdentification.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "protocol/EcuInformation.h"
#include "serial/SerialPort.h"
#include "sim/EcuSimulator.h"
#include "sim/ReplyEncoding.h"
#include "support/RecordingSink.h"
#include "support/ScriptedLink.h"

using ::testing::ElementsAre;
using Bytes = ScriptedLink::Bytes;

namespace {

// A shape A reply of `length` bytes: 0x09, then `fill`, with some bytes set.
Bytes Reply(std::size_t length, std::initializer_list<std::pair<std::size_t, std::uint8_t>> set,
            std::uint8_t fill = 0) {
    Bytes reply(length, fill);
    reply[0] = 0x09;
    for (const auto& [at, byte] : set) reply[at] = byte;
    return reply;
}

Bytes Words(std::initializer_list<std::uint16_t> words) {
    Bytes reply(ReplyLength::HourCounters, 0);
    reply[0] = 0x09;
    std::size_t at = 2;
    for (std::uint16_t word : words) {
        reply[at++] = static_cast<std::uint8_t>(word & 0xFF);
        reply[at++] = static_cast<std::uint8_t>(word >> 8);
    }
    return reply;
}

Bytes ProbeReply(std::uint16_t major) {
    return Reply(ReplyLength::Probe, {{2, static_cast<std::uint8_t>(major)}, {4, 5}, {6, 3}});
}

Bytes FrameBytes(const RequestFrame& frame) {
    return Bytes(frame.Bytes.begin(), frame.Bytes.end());
}

// Every text the ECU information read fills, in a fixed order.
std::vector<std::string> Texts(const EcuProtocol& ecu) {
    return {ecu.ManufacturerCode, ecu.ProductionDate,      ecu.SerialNumber,
            ecu.UserCode,         ecu.LastProgrammingDate, ecu.Vin,
            ecu.WholeWorkingTime, ecu.NearIdleTime,        ecu.HighSpeedSmallLoadTime,
            ecu.PartialLoadTime,  ecu.MaximumLoadTime,     ecu.RackZeroPosition};
}

}  // namespace

// --- Decoding ---

TEST(EcuIdentification, CounterMinutesRoundTiesToTheEvenNeighbour) {
    EXPECT_EQ(CounterText(0x0123), "18:11");
    EXPECT_EQ(CounterText(0x0010), "1:0");
    EXPECT_EQ(CounterText(0x000F), "0:56");
    EXPECT_EQ(CounterText(0x0016), "1:22");  // 22.5
    EXPECT_EQ(CounterText(0x0012), "1:8");   // 7.5
    EXPECT_EQ(CounterText(0x000A), "0:38");  // 37.5
    EXPECT_EQ(CounterText(0x000E), "0:52");  // 52.5
    EXPECT_EQ(CounterText(0xFFFF), "4095:56");
}

TEST(EcuIdentification, HighSpeedTimeWrapsAndRackZeroRoundsToEven) {
    ScriptedLink link;
    link.QueueReply(Words({100, 50, 40, 30, 400}));
    link.QueueReply(Words({0, 0, 0, 0, 24}));
    link.QueueReply(Words({0, 0, 0, 0, 40}));
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.ReadHourCounters());
    EXPECT_EQ(ecu.WholeWorkingTime, "6:15");
    EXPECT_EQ(ecu.NearIdleTime, "3:8");
    EXPECT_EQ(ecu.PartialLoadTime, "2:30");
    EXPECT_EQ(ecu.MaximumLoadTime, "1:52");
    EXPECT_EQ(ecu.HighSpeedSmallLoadTime, "4094:45");  // 100 - 120 wraps to 65516
    EXPECT_EQ(ecu.RackZeroPosition, "25");
    ASSERT_TRUE(ecu.ReadHourCounters());
    EXPECT_EQ(ecu.RackZeroPosition, "2");  // 1.5
    ASSERT_TRUE(ecu.ReadHourCounters());
    EXPECT_EQ(ecu.RackZeroPosition, "2");  // 2.5
}

TEST(EcuIdentification, BcdBytesReadAsDecimalUpToTheFirstLetter) {
    EXPECT_EQ(BcdToDecimal(0x25), 25);
    EXPECT_EQ(BcdToDecimal(0x07), 7);
    EXPECT_EQ(BcdToDecimal(0x00), 0);
    EXPECT_EQ(BcdToDecimal(0x99), 99);
    EXPECT_EQ(BcdToDecimal(0x1A), 1);
    EXPECT_EQ(BcdToDecimal(0x9F), 9);
    EXPECT_EQ(BcdToDecimal(0x0C), 12);  // "c": nothing to read, the byte itself
    EXPECT_EQ(BcdToDecimal(0xB3), 179);
    EXPECT_EQ(BcdToDecimal(0xFF), 255);
}

TEST(EcuIdentification, IdentificationSwapsTheBytesOfEachWord) {
    ScriptedLink link;
    link.QueueReply(Reply(ReplyLength::Identification, {{2, 0x66},
                                                        {3, 0x65},
                                                        {4, 0x00},
                                                        {5, 0x67},  // code
                                                        {12, 1},
                                                        {13, 2},
                                                        {14, 3},
                                                        {15, 4},
                                                        {16, 5},  // serial
                                                        {18, 0x01},
                                                        {19, 0x77},
                                                        {20, 0x12},
                                                        {22, 0x99},
                                                        {23, 0x19}}));  // date
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.ReadIdentification());
    EXPECT_EQ(ecu.ManufacturerCode, "ABC ");  // byte 4 reads 0, shown as a space
    EXPECT_EQ(ecu.SerialNumber, "21435");
    EXPECT_EQ(ecu.ProductionDate, "01.12.1999");
}

TEST(EcuIdentification, UserCodeEndsAtTheFirstZeroOfTheDescrambledBytes) {
    ScriptedLink link;
    link.QueueReply(Reply(ReplyLength::UserAndDate, {}, 0x3C));  // all equal: p1..p7 are 0
    const std::array<std::uint8_t, 8> scrambled = Scramble({'S', 'E', 'R', 'V', '1', 7, 12, 26});
    Bytes reply = Reply(ReplyLength::UserAndDate, {});
    std::copy(scrambled.begin(), scrambled.end(), reply.begin() + 10);
    link.QueueReply(reply);
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.ReadUserAndDate());
    EXPECT_EQ(ecu.UserCode, std::string(1, static_cast<char>(0x3C ^ 0x5A)));
    EXPECT_EQ(ecu.LastProgrammingDate, "00.00.00");
    ASSERT_TRUE(ecu.ReadUserAndDate());
    EXPECT_EQ(ecu.UserCode, "SERV1");
    EXPECT_EQ(ecu.LastProgrammingDate, "07.12.26");
}

TEST(EcuIdentification, VinComesFromCp866AndEndsAtAZeroByte) {
    ScriptedLink link;
    // cp866 0x8F 0x80 0x95 are the capitals Pe, A, Kha; cp1251 has them at 0xCF 0xC0 0xD5.
    link.QueueReply(Reply(ReplyLength::Vin, {{3, 0x8F}, {4, 0x80}, {5, '7'}, {6, 0x95}}, 'Z'));
    link.QueueReply(Reply(ReplyLength::Vin, {{3, 'X'}, {4, '9'}, {5, 0}}, 'Z'));
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.ReadVin());
    EXPECT_EQ(ecu.Vin,
              "\xCF\xC0"
              "7\xD5"
              "ZZZZZZZZZZZZZ");
    ASSERT_TRUE(ecu.ReadVin());
    EXPECT_EQ(ecu.Vin, "X9");
}

// A fixed-room text that took every digit of an out-of-range byte would run into
// the text beside it; each text here grows instead and stands alone.
TEST(EcuIdentification, BytesFFEverywhereGiveLongTextsThatDisturbNoNeighbour) {
    ScriptedLink link;
    link.QueueReply(Reply(ReplyLength::HourCounters, {}, 0xFF));
    link.QueueReply(Reply(ReplyLength::Identification, {}, 0xFF));
    link.QueueReply(Reply(ReplyLength::UserAndDate, {}, 0xFF));
    link.QueueReply(Reply(ReplyLength::Vin, {}, 0xFF));
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.ReadHourCounters());
    ASSERT_TRUE(ecu.ReadIdentification());
    ASSERT_TRUE(ecu.ReadUserAndDate());
    ASSERT_TRUE(ecu.ReadVin());
    EXPECT_THAT(Texts(ecu),
                ElementsAre("\xFF\xFF\xFF\xFF", "255.255.255255", "255255255255255", "\xA5",
                            "00.00.00", std::string(17, '\xA0'),  // cp866 no-break space
                            "4095:56", "4095:56", "0:8", "4095:56", "4095:56", "4096"));
}

// --- Failed replies keep the texts ---

TEST(EcuIdentification, AFailedRequestKeepsEveryText) {
    ScriptedLink link;
    link.QueueReply(Words({0x0123, 1, 2, 3, 400}));
    link.QueueReply(Reply(ReplyLength::Identification, {{2, 0x66}, {3, 0x65}}));
    link.QueueReply(Reply(ReplyLength::UserAndDate, {}, 0x20));
    link.QueueReply(Reply(ReplyLength::Vin, {}, 'V'));
    EcuProtocol ecu(link);
    ASSERT_TRUE(ecu.ReadHourCounters());
    ASSERT_TRUE(ecu.ReadIdentification());
    ASSERT_TRUE(ecu.ReadUserAndDate());
    ASSERT_TRUE(ecu.ReadVin());
    const auto before = Texts(ecu);
    const std::pair<bool (EcuProtocol::*)(), std::size_t> requests[] = {
        {&EcuProtocol::ReadHourCounters, ReplyLength::HourCounters},
        {&EcuProtocol::ReadIdentification, ReplyLength::Identification},
        {&EcuProtocol::ReadUserAndDate, ReplyLength::UserAndDate},
        {&EcuProtocol::ReadVin, ReplyLength::Vin}};
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
        link.QueueReply(ProbeReply(major));
        link.QueueReply(Words({1, 2, 3, 4, 5}));
        link.QueueReply({});  // no identification: the read goes on all the same
        link.QueueReply(Reply(ReplyLength::UserAndDate, {}));
        link.QueueReply(Reply(ReplyLength::Vin, {}, 'V'));
        EcuProtocol ecu(link);
        EXPECT_TRUE(ReadEcuInformation(ecu)) << major;
        EXPECT_EQ(ReadsUserAndVin(major), major == 40 || major == 49);
        std::vector<Bytes> expected{FrameBytes(Frames::Probe), FrameBytes(Frames::HourCounters),
                                    FrameBytes(Frames::Identification)};
        if (ReadsUserAndVin(major)) {
            expected.push_back(FrameBytes(Frames::UserAndDate));
            expected.push_back(FrameBytes(Frames::Vin));
        }
        EXPECT_EQ(link.Sent(), expected) << major;
        EXPECT_EQ(ecu.Vin, ReadsUserAndVin(major) ? std::string(17, 'V') : "") << major;
    }
}

TEST(EcuInformation, StopsAfterAFailedProbeOrCounterRead) {
    ScriptedLink link;
    link.QueueReply({});
    EcuProtocol ecu(link);
    EXPECT_FALSE(ReadEcuInformation(ecu));
    EXPECT_EQ(link.Sent().size(), 1u);

    link.Log.clear();
    link.QueueReply(ProbeReply(40));
    link.QueueReply(Reply(ReplyLength::HourCounters - 1, {}));
    EXPECT_FALSE(ReadEcuInformation(ecu));
    EXPECT_EQ(link.Sent().size(), 2u);
    EXPECT_EQ(ecu.ProgramVersion, "40.3.5");  // the probe itself did succeed
}

// --- The simulator's replies read back ---

namespace {

EcuState SampleState() {
    EcuState state;
    state.Counters = {0x0016, 0x0012, 0x0002, 0x0003, 40};  // the parts exceed the whole
    state.ManufacturerCode = "\xDFK7";  // cp1251 capital Ya goes as its own byte
    state.SerialNumber = "90210";
    state.ProductionDay = 1;
    state.ProductionMonth = 12;
    state.ProductionYear = 1999;
    state.UserCode = "AB";
    state.ProgrammingDate = {31, 1, 99};
    state.VinCp866 = "\x8F\x80-123";  // Pe, A; padded with spaces to 17
    return state;
}

void ExpectSampleTexts(const EcuProtocol& ecu) {
    EXPECT_EQ(ecu.ProgramVersion, "40.3.5");
    EXPECT_THAT(Texts(ecu), ElementsAre("\xDFK7 ", "01.12.1999", "90210", "AB", "31.01.99",
                                        "\xCF\xC0-123" + std::string(11, ' '), "1:22", "1:8",
                                        "4095:56", "0:8", "0:11", "2"));
}

}  // namespace

TEST(EcuInformationRoundTrip, SimulatorRepliesOnAScriptedLink) {
    const EcuState state = SampleState();
    ScriptedLink link;
    for (const auto& reply :
         {EncodeProbe(state), EncodeHourCounters(state), EncodeIdentification(state),
          EncodeUserAndDate(state), EncodeVin(state)})
        link.QueueReply(reply);
    EcuProtocol ecu(link);
    ASSERT_TRUE(ReadEcuInformation(ecu));
    ExpectSampleTexts(ecu);
}

TEST(EcuInformationRoundTrip, SimulatorOverAPseudoTerminal) {
    EcuSimulator::Options options;
    options.State = SampleState();
    EcuSimulator simulator(options);
    RecordingSink sink;
    SerialPort port(sink);
    port.Open(simulator.DevicePath());
    ASSERT_TRUE(port.IsOpen());
    EcuProtocol ecu(port);
    ASSERT_TRUE(ReadEcuInformation(ecu));
    ExpectSampleTexts(ecu);
    EXPECT_EQ(simulator.ReceivedFrames().size(), 5u);
    EXPECT_TRUE(sink.Messages.empty());
}
