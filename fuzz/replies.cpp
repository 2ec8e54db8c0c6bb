// Arbitrary bytes as the ECU's replies to every request the tool sends,
// through the scripted link: no reply may crash the decoding or read out of bounds.
//
// Input: byte 0 chooses the line (echo or not), the rest is split into
// replies at each 0xA5 byte, one reply per request in the order below.

#include <cstddef>
#include <cstdint>

#include "line/LivePolling.h"
#include "protocol/EcuInformation.h"
#include "session/ErrorReading.h"
#include "support/LinkPort.h"
#include "support/RecordingSink.h"
#include "support/ScriptedLink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    ScriptedLink link;
    link.Echo = (data[0] & 1) == 0;
    link.QueueReplies(data + 1, size - 1);

    RecordingSink sink;
    const auto line = LineOver(sink, link);
    EcuProtocol& ecu = line->Ecu();
    ParameterSets::Definitions definitions;
    for (auto& def : definitions) def.Formula = "X*0.1-40";
    definitions[3].Signed = true;
    ParameterSets sets(definitions);
    // Not loaded: every error is listed without a code or name, as for a file
    // that defines none.
    static const DefinitionDatabase errors("");
    bool linkOk = false;
    // Requests are cycled until the script runs out, so later replies meet every shape.
    for (int round = 0; round < 4 && !link.Replies.empty(); ++round) {
        (void)ecu.Probe();
        (void)ecu.SelectParameter(static_cast<std::uint8_t>(round), 0x0100u + round);
        (void)PollLiveData(*line, sets, round, linkOk);
        (void)ReadErrorList(*line, errors);
        (void)line->ClearErrorMemory();
        (void)ecu.ReadHourCounters();
        (void)ecu.ReadIdentification();
        (void)ecu.ReadUserAndDate();
        (void)ecu.ReadVin();
        (void)ReadEcuInformation(ecu);
    }
    return 0;
}
