#pragma once
// Collects the bytes the ECU receives into six-byte request frames.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "protocol/RequestFrame.h"

class FrameAssembler {
public:
    // Takes one received byte; returns the frame it completes. A byte that
    // cannot start a frame (anything but 0x09 between frames) is dropped.
    std::optional<RequestFrame> Push(std::uint8_t byte);
    void Reset() { filled_ = 0; }
    // How many bytes of the next frame are in (0 between frames), and that
    // frame so far.
    std::size_t Filled() const { return filled_; }
    const RequestFrame& Pending() const { return pending_; }

private:
    RequestFrame pending_;
    std::size_t filled_ = 0;
};

// True when byte 5 is the sum of bytes 0 to 4, modulo 256.
bool HasValidChecksum(const RequestFrame& frame);
