#include "database/LiveData.h"

#include "protocol/SlotSelection.h"

bool SelectCurrentSet(EcuProtocol& ecu, ParameterSets& sets, int setIndex) {
    sets.SelectSet(setIndex);
    return SelectSlots(ecu, sets.SlotAddresses());
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
