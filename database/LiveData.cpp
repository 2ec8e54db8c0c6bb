#include "database/LiveData.h"

#include "protocol/SlotSelection.h"

bool SelectCurrentSet(EcuProtocol& ecu, ParameterSets& sets, int setIndex) {
    sets.SelectSet(setIndex);
    sets.Selection = SelectSlots(ecu, sets.SlotAddresses());
    return sets.Selection.Complete();
}

bool PollLiveData(EcuProtocol& ecu, ParameterSets& sets, int setIndex, bool& linkOk) {
    if (!linkOk) linkOk = SelectCurrentSet(ecu, sets, setIndex);
    WorkBuffer buffer{};
    if (!ecu.ReadLiveBlock(buffer)) {
        linkOk = false;
        return false;
    }
    sets.ComputeValues(buffer.data());
    return true;
}

std::optional<double> ShownValue(const ParameterSets& sets, int slot) {
    if (slot < 0 || slot >= sets.Selection.Accepted) return std::nullopt;
    return sets.Values[static_cast<std::size_t>(slot)];
}
