#include "protocol/EcuProtocol.h"

#include <cstdio>

bool EcuProtocol::Probe() {
    WorkBuffer reply{};
    if (!ExchangeWhole(link_, Frames::Probe, reply, ReplyLength::Probe)) return false;
    // On the wire the version's numbers come as V1, V3, V2.
    const unsigned major = WordAt(reply.data(), 2);
    const unsigned patch = WordAt(reply.data(), 4);
    const unsigned minor = WordAt(reply.data(), 6);
    const unsigned application = WordAt(reply.data(), 8);
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u", major, minor, patch);
    ProgramVersion = text;
    ProgramVersionMajor = static_cast<std::int32_t>(major);
    std::snprintf(text, sizeof text, "%u", application);
    ApplicationId = text;
    return true;
}

SelectStatus EcuProtocol::SelectParameter(std::uint8_t slot, std::uint32_t address) {
    // Only the low 16 bits of an address reach the ECU.
    SelectionAnswer =
        ExchangeStatusByte(link_, Frames::Select(slot, static_cast<std::uint16_t>(address)));
    return SelectStatusFromByte(SelectionAnswer);
}

bool EcuProtocol::ReadLiveBlock(WorkBuffer& buffer) {
    return ExchangeAcknowledged(link_, Frames::LiveBlock, buffer, ReplyLength::LiveBlock);
}

bool EcuProtocol::ReadErrors(WorkBuffer& buffer) {
    return ExchangeAcknowledged(link_, Frames::ReadErrors, buffer, ReplyLength::ErrorBitmap);
}

bool EcuProtocol::ClearErrors() {
    return ExchangeNoReply(link_, Frames::ClearErrors);
}
