#include "sim/FrameAssembler.h"

std::optional<RequestFrame> FrameAssembler::Push(std::uint8_t byte) {
    if (filled_ == 0 && byte != FrameHeader) return std::nullopt;
    pending_.Bytes[filled_++] = byte;
    if (filled_ < FrameSize) return std::nullopt;
    filled_ = 0;
    return pending_;
}

bool HasValidChecksum(const RequestFrame& frame) {
    RequestFrame copy = frame;
    SetChecksum(copy.Bytes.data());
    return copy.Bytes[5] == frame.Bytes[5];
}
