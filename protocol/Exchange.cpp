#include "protocol/Exchange.h"

#include <algorithm>

namespace {

// Builds the frame at the start of the zeroed work buffer and sends it; true
// when the whole echo came back.
bool SendFrame(ByteLink& link, const RequestFrame& frame, WorkBuffer& buffer) {
    buffer.fill(0);
    std::copy(frame.Bytes.begin(), frame.Bytes.end(), buffer.begin());
    return link.Write(buffer.data(), FrameSize) == FrameSize;
}

}  // namespace

bool ExchangeWhole(ByteLink& link, const RequestFrame& frame, WorkBuffer& buffer,
                   std::size_t replyLength) {
    replyLength = std::min(replyLength, buffer.size());
    if (!SendFrame(link, frame, buffer)) return false;
    if (link.Read(buffer.data(), replyLength) != replyLength) return false;
    return buffer[0] == FrameHeader;
}

bool ExchangeAcknowledged(ByteLink& link, const RequestFrame& frame, WorkBuffer& buffer,
                          std::size_t blockLength) {
    blockLength = std::min(blockLength, buffer.size());
    if (!SendFrame(link, frame, buffer)) return false;
    if (link.ReadByte() != FrameHeader) return false;
    // The byte after the acknowledgement carries nothing the tool uses; a missing one is no error.
    (void)link.ReadByte();
    return link.Read(buffer.data(), blockLength) == blockLength;
}

SelectStatus ExchangeStatus(ByteLink& link, const RequestFrame& frame) {
    link.Purge();
    WorkBuffer buffer{};
    // The echo count is not examined: the status byte alone tells the outcome.
    (void)SendFrame(link, frame, buffer);
    return SelectStatusFromByte(link.ReadByte());
}

bool ExchangeNoReply(ByteLink& link, const RequestFrame& frame) {
    WorkBuffer buffer{};
    return SendFrame(link, frame, buffer);
}

SelectStatus SelectStatusFromByte(std::optional<std::uint8_t> byte) {
    if (!byte) return -7;
    switch (*byte) {
        case 0x09:
            return SelectAccepted;
        case 0x1F:
            return -1;
        case 0x2F:
            return -2;
        case 0x3F:
            return -3;
        case 0x4F:
            return -4;
        case 0x5F:
            return -5;
        case 0x6F:
            return -6;
        default:
            return -7;
    }
}
