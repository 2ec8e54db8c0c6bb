#pragma once
// Assigning a parameter set's sixteen addresses to the ECU's sixteen slots.

#include <array>
#include <cstdint>
#include <optional>

#include "protocol/EcuProtocol.h"

constexpr int SlotCount = 16;

// How far a selection got: slots 0 to Accepted-1 hold the set's addresses; the
// slot after them answered Refusal. Slots from Accepted on still hold whatever
// the ECU had in them before, so their words in a live block belong elsewhere.
struct SlotSelection {
    int Accepted = 0;
    SelectStatus Refusal = SelectAccepted;
    // The byte of the refusal; nothing when the slot got no answer at all.
    std::optional<std::uint8_t> RefusalByte;
    bool Complete() const { return Accepted == SlotCount; }
};

// Selects slot 0 to 15 in order, each with a purge first, and stops at the
// first refusal.
SlotSelection SelectSlots(EcuProtocol& ecu, const std::array<std::uint32_t, SlotCount>& addresses);
