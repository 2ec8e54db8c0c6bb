#pragma once
// A request frame as a plain byte vector, the form the links' logs and the
// matchers compare.

#include <cstdint>
#include <vector>

#include "protocol/RequestFrame.h"

inline std::vector<std::uint8_t> FrameBytes(const RequestFrame& frame) {
    return {frame.Bytes.begin(), frame.Bytes.end()};
}

inline std::vector<std::vector<std::uint8_t>> FrameBytes(const std::vector<RequestFrame>& frames) {
    std::vector<std::vector<std::uint8_t>> bytes;
    for (const RequestFrame& frame : frames) bytes.push_back(FrameBytes(frame));
    return bytes;
}
