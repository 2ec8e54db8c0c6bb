#pragma once
// The ECU's side of the protocol without the line: what it answers to each
// request frame, its error memory, its sixteen live slots and the addresses it
// knows. Not thread-safe; the simulator guards it.

#include <array>
#include <cstdint>
#include <map>
#include <optional>

#include "protocol/RequestFrame.h"
#include "sim/EcuState.h"
#include "sim/ReplyEncoding.h"

class EcuResponder {
public:
    // Status byte of a selection the ECU accepts.
    static constexpr std::uint8_t Accepted = 0x09;
    // Status byte of a selection of a slot past 15.
    static constexpr std::uint8_t NoSuchSlot = 0x1F;

    // The ECU's whole reply to a frame, faults aside; nothing for a frame with a
    // bad checksum or a command (or sub-function) the ECU does not know.
    // `seconds` is the time since start at which live values are taken.
    std::optional<ReplyBytes> Answer(const RequestFrame& frame, double seconds);

    EcuState State;
    // Fixed live words; they win over the models and make their address known.
    std::map<std::uint16_t, std::uint16_t> FixedWords;
    std::array<std::optional<std::uint8_t>, 16> Refusals{};

    bool KnowsAddress(std::uint16_t address) const;
    // The address a slot holds since its last accepted selection.
    std::optional<std::uint16_t> SlotAddress(std::uint8_t slot) const;
    // The live word of a known address; 0 for one the ECU does not know.
    std::uint16_t LiveWord(std::uint16_t address, double seconds) const;

private:
    std::uint8_t Select(std::uint8_t slot, std::uint16_t address);

    std::array<std::optional<std::uint16_t>, 16> slots_{};
};
