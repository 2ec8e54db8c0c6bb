#include "line/LivePolling.h"

#include "protocol/SlotSelection.h"

bool SelectCurrentSet(EcuLine& line, ParameterSets& sets, int setIndex) {
    sets.SelectSet(setIndex);
    sets.Selection = SelectSlots(line.Ecu(), sets.SlotAddresses());
    return sets.Selection.Complete();
}

bool PollLiveData(EcuLine& line, ParameterSets& sets, int setIndex, bool& linkOk) {
    if (!linkOk) linkOk = SelectCurrentSet(line, sets, setIndex);
    WorkBuffer buffer{};
    if (!line.Ecu().ReadLiveBlock(buffer)) {
        linkOk = false;
        return false;
    }
    sets.ComputeValues(buffer.data());
    return true;
}
