#include "protocol/Exchange.h"

#include <algorithm>

namespace {

enum class Echo {
    Whole,    // the six bytes came back as sent
    Short,    // fewer came back
    Foreign,  // six came back, but not the ones sent: bytes of another exchange
};

// Builds the frame at the start of the zeroed work buffer, sends it and reads
// its echo back. Six bytes that are not the frame are left over from an
// earlier exchange (a late reply, a run killed half way); whatever follows is
// just as shifted, so the line is purged and the exchange must fail.
Echo SendFrame(ByteLink& link, const RequestFrame& frame, WorkBuffer& buffer) {
    buffer.fill(0);
    std::copy(frame.Bytes.begin(), frame.Bytes.end(), buffer.begin());
    if (link.Write(buffer.data(), FrameSize) != FrameSize) return Echo::Short;
    if (std::equal(frame.Bytes.begin(), frame.Bytes.end(), buffer.begin())) return Echo::Whole;
    link.Purge();
    return Echo::Foreign;
}

}  // namespace

bool ExchangeWhole(ByteLink& link, const RequestFrame& frame, WorkBuffer& buffer,
                   std::size_t replyLength) {
    replyLength = std::min(replyLength, buffer.size());
    if (SendFrame(link, frame, buffer) != Echo::Whole) return false;
    if (link.Read(buffer.data(), replyLength) != replyLength) return false;
    return buffer[0] == FrameHeader;
}

bool ExchangeAcknowledged(ByteLink& link, const RequestFrame& frame, WorkBuffer& buffer,
                          std::size_t blockLength) {
    blockLength = std::min(blockLength, buffer.size());
    if (SendFrame(link, frame, buffer) != Echo::Whole) return false;
    if (link.ReadByte() != FrameHeader) return false;
    // The byte after the acknowledgement carries nothing the tool uses; a missing one is no error.
    (void)link.ReadByte();
    return link.Read(buffer.data(), blockLength) == blockLength;
}

std::optional<std::uint8_t> ExchangeStatusByte(ByteLink& link, const RequestFrame& frame) {
    link.Purge();
    WorkBuffer buffer{};
    // A short echo is let pass: the status byte alone tells the outcome. A
    // whole echo of other bytes means the status byte would be foreign too.
    if (SendFrame(link, frame, buffer) == Echo::Foreign) return std::nullopt;
    return link.ReadByte();
}

SelectStatus ExchangeStatus(ByteLink& link, const RequestFrame& frame) {
    return SelectStatusFromByte(ExchangeStatusByte(link, frame));
}

bool ExchangeNoReply(ByteLink& link, const RequestFrame& frame) {
    WorkBuffer buffer{};
    return SendFrame(link, frame, buffer) == Echo::Whole;
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
