#include "protocol/SlotSelection.h"

bool SelectSlots(EcuProtocol& ecu, const std::array<std::uint32_t, SlotCount>& addresses) {
    for (int slot = 0; slot < SlotCount; ++slot)
        if (ecu.SelectParameter(static_cast<std::uint8_t>(slot), addresses[slot]) < 0) return false;
    return true;
}
