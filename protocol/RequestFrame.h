#pragma once
// The six-byte request the tool sends for every exchange with the ECU:
// 0x09, command, three argument bytes, checksum (sum of bytes 0..4 mod 256).

#include <array>
#include <cstddef>
#include <cstdint>

constexpr std::uint8_t FrameHeader = 0x09;
constexpr std::size_t FrameSize = 6;

// Every command the tool sends.
enum class Command : std::uint8_t {
    Probe = 0x80,
    HourCounters = 0x81,
    Identification = 0x82,  // sub-function 0x01; 0x0A reads user code and date
    ErrorMemory = 0x83,     // sub-function 0x00 reads, 0x01 FF FF clears
    LiveBlock = 0x84,
    SelectParameter = 0x85,
    Vin = 0x90,
};

// Writes byte 5 of a frame as byte 0 plus bytes 4, 3, 2 and 1, wrapping at 8 bits.
inline void SetChecksum(std::uint8_t* frame) {
    frame[5] = static_cast<std::uint8_t>(frame[0] + frame[4] + frame[3] + frame[2] + frame[1]);
}

struct RequestFrame {
    std::array<std::uint8_t, FrameSize> Bytes{};

    static constexpr RequestFrame Make(Command command, std::uint8_t a1 = 0, std::uint8_t a2 = 0,
                                       std::uint8_t a3 = 0) {
        RequestFrame frame;
        frame.Bytes = {FrameHeader, static_cast<std::uint8_t>(command), a1, a2, a3, 0};
        frame.Bytes[5] = static_cast<std::uint8_t>(
            frame.Bytes[0] + frame.Bytes[4] + frame.Bytes[3] + frame.Bytes[2] + frame.Bytes[1]);
        return frame;
    }
};

// The frames of every request, as they go on the wire.
namespace Frames {
constexpr RequestFrame Probe = RequestFrame::Make(Command::Probe);
constexpr RequestFrame HourCounters = RequestFrame::Make(Command::HourCounters);
constexpr RequestFrame Identification = RequestFrame::Make(Command::Identification, 0x01);
constexpr RequestFrame UserAndDate = RequestFrame::Make(Command::Identification, 0x0A);
constexpr RequestFrame Vin = RequestFrame::Make(Command::Vin);
constexpr RequestFrame ReadErrors = RequestFrame::Make(Command::ErrorMemory, 0x00);
constexpr RequestFrame ClearErrors = RequestFrame::Make(Command::ErrorMemory, 0x01, 0xFF, 0xFF);
constexpr RequestFrame LiveBlock = RequestFrame::Make(Command::LiveBlock, 0x00, 0x00, 0x0F);
constexpr RequestFrame Select(std::uint8_t slot, std::uint16_t address) {
    return RequestFrame::Make(Command::SelectParameter, slot,
                              static_cast<std::uint8_t>(address & 0xFF),
                              static_cast<std::uint8_t>(address >> 8));
}
}  // namespace Frames

// Reply lengths as the tool reads them (shape A: whole reply; shape B: data block).
namespace ReplyLength {
constexpr std::size_t Probe = 10;
constexpr std::size_t HourCounters = 12;
constexpr std::size_t Identification = 34;
constexpr std::size_t UserAndDate = 34;
constexpr std::size_t Vin = 20;
constexpr std::size_t ErrorBitmap = 16;
constexpr std::size_t LiveBlock = 32;
}  // namespace ReplyLength

// The status byte that answers a parameter selection.
using SelectStatus = int;
constexpr SelectStatus SelectAccepted = 0;
