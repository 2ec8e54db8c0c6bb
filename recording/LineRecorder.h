#pragma once
// A byte link that keeps a line of text for every transfer it passes on to the
// link behind it (see LineRecording.h). The lines are only kept in memory, so
// recording adds no wait to an exchange; the owner takes them at a moment of
// its choosing (after a tick) and writes them away.

#include <chrono>
#include <string>

#include "recording/LineRecording.h"
#include "serial/ByteLink.h"

class LineRecorder : public ByteLink {
public:
    using Clock = std::chrono::steady_clock;

    // Passes everything on to `link`, keeping nothing until Start.
    explicit LineRecorder(ByteLink& link) : link_(link) {}

    // Keeps a line for every transfer from now on, timed from now, after a
    // `started` line with the wall-clock time. Starting again drops what was
    // kept and restarts the time, as for a port on which no ECU answered.
    void Start();
    // Keeps nothing more; the lines kept so far stay for TakeLines.
    void Stop() { recording_ = false; }
    bool IsRecording() const { return recording_; }

    // Keeps a whole line of the recording's own (a port line, a comment) at
    // this point, while recording.
    void Note(const std::string& line) {
        if (recording_) lines_ += line;
    }

    // Moves the lines kept since the last call to the end of `text`.
    void TakeLines(std::string& text);

    std::optional<std::uint8_t> ReadByte() override;
    std::size_t Read(std::uint8_t* buffer, std::size_t n) override;
    std::size_t Write(std::uint8_t* buffer, std::size_t n) override;
    void Purge() override;

private:
    std::uint64_t Micros(Clock::time_point at) const;

    ByteLink& link_;
    bool recording_ = false;
    Clock::time_point start_{};
    std::string lines_;
};
