#include "line/LineRecovery.h"

#include "line/EcuLine.h"

LineRecovery EcuLine::Recover() {
    if (!port_->IsHungUp()) return LineRecovery::NotLost;
    if (!port_->Reopen()) return LineRecovery::StillLost;
    MarkPort();
    if (ecu_.Probe()) return LineRecovery::Restored;
    port_->LetGoOfDevice();
    return LineRecovery::StillLost;
}

LineRecovery KeepLineUp(EcuLine& line, bool& linkOk) {
    const LineRecovery recovery = line.Recover();
    if (recovery == LineRecovery::Restored) linkOk = false;
    return recovery;
}
