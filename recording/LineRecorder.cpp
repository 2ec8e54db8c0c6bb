#include "recording/LineRecorder.h"

#include <algorithm>

using Kind = RecordedTransfer::Kind;

void LineRecorder::Start() {
    recording_ = true;
    start_ = Clock::now();
    // The wall-clock time the microseconds count from, for whoever reads the
    // recording later on.
    lines_ = RecordingStartedLine(std::chrono::system_clock::now());
}

void LineRecorder::TakeLines(std::string& text) {
    text += lines_;
    lines_.clear();
}

std::uint64_t LineRecorder::Micros(Clock::time_point at) const {
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(at - start_).count();
    return static_cast<std::uint64_t>(std::max<decltype(micros)>(micros, 0));
}

std::optional<std::uint8_t> LineRecorder::ReadByte() {
    const std::optional<std::uint8_t> byte = link_.ReadByte();
    if (recording_)
        AppendTransferLine(lines_, Kind::ReadByte, Micros(Clock::now()), byte ? &*byte : nullptr,
                           byte ? 1 : 0);
    return byte;
}

std::size_t LineRecorder::Read(std::uint8_t* buffer, std::size_t n) {
    const std::size_t got = link_.Read(buffer, n);
    if (recording_) AppendTransferLine(lines_, Kind::Read, Micros(Clock::now()), buffer, got, n);
    return got;
}

std::size_t LineRecorder::Write(std::uint8_t* buffer, std::size_t n) {
    if (!recording_) return link_.Write(buffer, n);
    // The write reads its echo into the same buffer: the bytes sent are kept first.
    const auto sentAt = Clock::now();
    AppendTransferLine(lines_, Kind::Write, Micros(sentAt), buffer, n);
    const std::size_t echoed = link_.Write(buffer, n);
    AppendTransferLine(lines_, Kind::Echo, Micros(Clock::now()), buffer, echoed);
    return echoed;
}

void LineRecorder::Purge() {
    link_.Purge();
    if (recording_) AppendTransferLine(lines_, Kind::Purge, Micros(Clock::now()), nullptr, 0);
}
