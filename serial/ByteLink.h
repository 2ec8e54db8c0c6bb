#pragma once
// The four byte operations that the protocol needs from a line to the ECU.
// SerialPort is the real one; tests put scripted bytes behind the same surface.

#include <cstddef>
#include <cstdint>
#include <optional>

class ByteLink {
public:
    virtual ~ByteLink() = default;

    // One byte if one is waiting or arrives within 110 ms; nothing otherwise.
    virtual std::optional<std::uint8_t> ReadByte() = 0;

    // Reads up to n bytes, waiting 20 ms per expected byte for all of them to
    // arrive. Returns how many came; fewer than n means the reply was short.
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t n) = 0;

    // Sends n bytes, then reads their echo back into the same buffer. Returns
    // the count read back; only n proves that the bytes went out.
    virtual std::size_t Write(std::uint8_t* buffer, std::size_t n) = 0;

    // Drops whatever waits in either direction.
    virtual void Purge() = 0;
};
