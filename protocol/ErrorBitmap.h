#pragma once
// The ECU's error memory as a 128-bit bitmap: bit b of byte p set means error
// number 8p + b is stored.

#include <cstdint>
#include <vector>

constexpr int ErrorCount = 128;

// The stored error numbers in ascending order (byte 0 to 15, mask 0x01 to
// 0x80); their count is the number of errors. `bitmap` holds 16 bytes.
std::vector<int> StoredErrors(const std::uint8_t* bitmap);
