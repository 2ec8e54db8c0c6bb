// Arbitrary bytes as the ECU's replies to every request the tool sends,
// through the scripted link: no reply may crash the decoding or read out of bounds.
//
// Input: byte 0 chooses the line (echo or not), the rest is split into
// replies at each 0xA5 byte, one reply per request in the order below.

#include <cstddef>
#include <cstdint>

#include "database/ErrorList.h"
#include "database/LiveData.h"
#include "protocol/EcuInformation.h"
#include "support/ScriptedLink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    ScriptedLink link;
    link.Echo = (data[0] & 1) == 0;
    ScriptedLink::Bytes reply;
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0xA5) {
            link.QueueReply(reply);
            reply.clear();
        } else {
            reply.push_back(data[i]);
        }
    }
    link.QueueReply(reply);

    EcuProtocol ecu(link);
    ParameterSets::Definitions definitions;
    for (auto& def : definitions) def.Formula = "X*0.1-40";
    definitions[3].Signed = true;
    ParameterSets sets(definitions);
    // Not loaded: every error is listed without a code or name, as for a file
    // that defines none.
    static const DefinitionDatabase errors("");
    bool linkOk = false;
    WorkBuffer buffer{};
    // Requests are cycled until the script runs out, so later replies meet every shape.
    for (int round = 0; round < 4 && !link.Replies.empty(); ++round) {
        (void)ecu.Probe();
        (void)ecu.SelectParameter(static_cast<std::uint8_t>(round), 0x0100u + round);
        (void)PollLiveData(ecu, sets, round, linkOk);
        buffer.fill(0);
        if (ecu.ReadErrors(buffer)) (void)ErrorLines(buffer.data(), errors);
        (void)ecu.ClearErrors();
        (void)ecu.ReadHourCounters();
        (void)ecu.ReadIdentification();
        (void)ecu.ReadUserAndDate();
        (void)ecu.ReadVin();
        (void)ReadEcuInformation(ecu);
    }
    return 0;
}
