#include "protocol/LineRecovery.h"

LineRecovery RecoverLostLine(SerialPort& port, EcuProtocol& ecu) {
    if (!port.IsHungUp()) return LineRecovery::NotLost;
    if (!port.Reopen()) return LineRecovery::StillLost;
    if (ecu.Probe()) return LineRecovery::Restored;
    port.LetGoOfDevice();
    return LineRecovery::StillLost;
}
