#pragma once
// The timetable of the one wire of the diagnostic line. The tool's bytes and
// the ECU's bytes take turns on it, one byte time each (260.4 us at 38400 baud,
// 10 bits a byte); an echo completes together with the byte it echoes. With a
// byte time of zero every byte is due at once.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

class LineSchedule {
public:
    using Clock = std::chrono::steady_clock;

    // One byte at 38400 baud with a start bit, eight data bits and a stop bit.
    static constexpr Clock::duration ByteTime38400 =
        std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(260417));

    explicit LineSchedule(Clock::duration byteTime) : byteTime_(byteTime) {}

    // A byte of the tool arrived at `arrival`; it occupies the wire for one byte
    // time, and its echo (when wanted) is due as it completes.
    void Receive(std::uint8_t byte, Clock::time_point arrival, bool echo);

    // Queues bytes that follow each other on the wire, the first starting
    // `delay` after the wire is free.
    void Send(const std::vector<std::uint8_t>& bytes, Clock::duration delay);

    // Queues the end of the line: it is due once everything queued so far has gone out.
    void HangUpWhenSent();

    struct Due {
        std::vector<std::uint8_t> Bytes;
        bool HangUp = false;  // the line ends after these bytes
    };
    // Removes and returns everything due by `now`, stopping at a hang-up.
    Due TakeDue(Clock::time_point now);

    // When the next queued byte (or the hang-up) is due; nothing when idle.
    std::optional<Clock::time_point> NextDue() const;

private:
    struct Pending {
        std::optional<std::uint8_t> Byte;  // none marks the hang-up
        Clock::time_point At;
    };
    Clock::time_point Occupy(Clock::time_point earliest);

    Clock::duration byteTime_;
    Clock::time_point wireFree_{};
    std::deque<Pending> queue_;
};
