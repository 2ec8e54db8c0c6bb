// The simulator's encoding of the ECU information read back by the tool, on
// scripted bytes and over a pseudo-terminal.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/EcuInformation.h"
#include "serial/SerialPort.h"
#include "sim/ReplyEncoding.h"
#include "sim/posix/EcuSimulator.h"
#include "support/EcuTexts.h"
#include "support/RecordingSink.h"
#include "support/ScriptedLink.h"

using ::testing::ElementsAre;

// --- The simulator's replies read back, on scripted bytes and over a pty ---

namespace {

EcuState SampleState() {
    EcuState state;
    state.Counters = {0x0016, 0x0012, 0x0002, 0x0003, 40};  // the parts exceed the whole
    state.ManufacturerCode = "\xDFK7";                      // cp1251 Ya goes as its own byte
    state.SerialNumber = "90210";
    state.ProductionYear = 1999;
    state.UserCode = "AB";
    state.ProgrammingDate = {31, 1, 99};
    state.VinCp866 = "\x8F\x80-123";  // Pe, A; padded with spaces to 17
    return state;
}

void ExpectSampleTexts(const EcuProtocol& ecu) {
    EXPECT_THAT(Texts(ecu), ElementsAre("\xDFK7 ", "15.06.1999", "90210", "AB", "31.01.99",
                                        "\xCF\xC0-123" + std::string(11, ' '), "1:22", "1:8",
                                        "4095:56", "0:8", "0:11", "2"));
}

}  // namespace

TEST(EcuInformationRoundTrip, SimulatorRepliesOnAScriptedLink) {
    const EcuState s = SampleState();
    ScriptedLink link;
    for (const auto& reply : {EncodeProbe(s), EncodeHourCounters(s), EncodeIdentification(s),
                              EncodeUserAndDate(s), EncodeVin(s)})
        link.QueueReply(reply);
    EcuProtocol ecu(link);
    ASSERT_TRUE(ReadEcuInformation(ecu));
    ExpectSampleTexts(ecu);
}

TEST(EcuInformationRoundTrip, SimulatorOverAPseudoTerminal) {
    EcuSimulator::Options options;
    options.State = SampleState();
    EcuSimulator simulator(options);
    SerialPort port;
    ASSERT_TRUE(port.Open(simulator.DevicePath()).Opened());
    EcuProtocol ecu(port);
    ASSERT_TRUE(ReadEcuInformation(ecu));
    ExpectSampleTexts(ecu);
    EXPECT_EQ(simulator.ReceivedFrames().size(), 5u);
}
