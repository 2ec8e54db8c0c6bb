#include "protocol/SlotSelection.h"

SlotSelection SelectSlots(EcuProtocol& ecu, const std::array<std::uint32_t, SlotCount>& addresses) {
    SlotSelection selection;
    for (; selection.Accepted < SlotCount; ++selection.Accepted) {
        const SelectStatus status = ecu.SelectParameter(
            static_cast<std::uint8_t>(selection.Accepted), addresses[selection.Accepted]);
        if (status < 0) {
            selection.Refusal = status;
            selection.RefusalByte = ecu.SelectionAnswer;
            break;
        }
    }
    return selection;
}
