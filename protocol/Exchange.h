#pragma once
// The four shapes of one exchange with the ECU. Each sends one request frame,
// reads back its echo and then reads the reply the command calls for. Failures
// are results only: false, or a negative SelectStatus. An echo of six bytes
// that are not the frame fails every shape and purges the link: no value is
// ever taken from bytes that answer another request.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "protocol/RequestFrame.h"
#include "serial/ByteLink.h"

// The zero-filled work buffer of a request: the frame is built at its start, the
// echo overwrites it, and the reply is read into it from byte 0.
using WorkBuffer = std::array<std::uint8_t, 256>;

// Shape A: the whole reply of replyLength bytes lands in buffer[0..]; it must
// all arrive and begin with 0x09.
bool ExchangeWhole(ByteLink& link, const RequestFrame& frame, WorkBuffer& buffer,
                   std::size_t replyLength);

// Shape B: acknowledgement 0x09, one skipped byte, then a data block of
// blockLength bytes into buffer[0..]. A wrong acknowledgement stops at once.
bool ExchangeAcknowledged(ByteLink& link, const RequestFrame& frame, WorkBuffer& buffer,
                          std::size_t blockLength);

// Shape C: purge, frame, one status byte (a short echo is let pass).
SelectStatus ExchangeStatus(ByteLink& link, const RequestFrame& frame);
// The same exchange, giving the status byte itself; nothing when none came.
std::optional<std::uint8_t> ExchangeStatusByte(ByteLink& link, const RequestFrame& frame);

// Shape D: frame only; true when the whole echo came back. Nothing is read after it.
bool ExchangeNoReply(ByteLink& link, const RequestFrame& frame);

// The status byte of a selection: 0x09 accepted (0), 0x1F..0x6F refusals -1..-6,
// anything else or nothing -7.
SelectStatus SelectStatusFromByte(std::optional<std::uint8_t> byte);

// A 16-bit word of a reply, low byte first.
inline unsigned WordAt(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<unsigned>(bytes[offset]) | static_cast<unsigned>(bytes[offset + 1]) << 8;
}
