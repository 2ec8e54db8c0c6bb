#pragma once
// Assigning a parameter set's sixteen addresses to the ECU's sixteen slots.

#include <array>
#include <cstdint>

#include "protocol/EcuProtocol.h"

constexpr int SlotCount = 16;

// Selects slot 0 to 15 in order, each with a purge first, and stops at the
// first refusal. True when all sixteen were accepted.
bool SelectSlots(EcuProtocol& ecu, const std::array<std::uint32_t, SlotCount>& addresses);
