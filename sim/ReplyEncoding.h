#pragma once
// The ECU's reply layouts: each function builds the whole reply of one request
// from the ECU's state, as it goes on the wire (byte 0 is 0x09, or the
// acknowledgement 0x09 of the block replies; byte 1 repeats the command or
// gives the block length and is never read by the tool).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct EcuState;

using ReplyBytes = std::vector<std::uint8_t>;

// Seed of the chained XOR that hides the user code and programming date.
constexpr std::uint8_t ScrambleSeed = 0x5A;

// Two decimal digits as one BCD byte (25 gives 0x25); values past 99 keep their last two digits.
std::uint8_t ToBcd(int value);

// One character of the manufacturer code as the byte whose BCD reading is the
// character's code (0x66 for 'B'). Codes 10-15 and 160-255 read back as the
// byte itself and are sent so; codes 100-159 cannot be told and go as '?'.
std::uint8_t EncodeCharCode(unsigned char code);

// The eight plain bytes p0..p7 scrambled: c0 = p0 ^ seed, ci = pi ^ c(i-1).
std::array<std::uint8_t, 8> Scramble(const std::array<std::uint8_t, 8>& plain);

ReplyBytes EncodeProbe(const EcuState& state);           // 0x80, 10 bytes
ReplyBytes EncodeHourCounters(const EcuState& state);    // 0x81, 12 bytes
ReplyBytes EncodeIdentification(const EcuState& state);  // 0x82 sub 0x01, 34 bytes
ReplyBytes EncodeUserAndDate(const EcuState& state);     // 0x82 sub 0x0A, 34 bytes
ReplyBytes EncodeVin(const EcuState& state);             // 0x90, 20 bytes
ReplyBytes EncodeErrorBitmap(const std::array<std::uint8_t, 16>& bitmap);  // 0x83 sub 0x00, 2 + 16
ReplyBytes EncodeLiveBlock(const std::array<std::uint16_t, 16>& words);    // 0x84, 2 + 32
