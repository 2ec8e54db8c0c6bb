#include "protocol/EcuInformation.h"

bool ReadsUserAndVin(int programVersionMajor) {
    return programVersionMajor >= 40 && programVersionMajor <= 49;
}

bool ReadEcuInformation(EcuProtocol& ecu) {
    if (!ecu.Probe() || !ecu.ReadHourCounters()) return false;
    (void)ecu.ReadIdentification();
    if (ReadsUserAndVin(ecu.ProgramVersionMajor)) {
        (void)ecu.ReadUserAndDate();
        (void)ecu.ReadVin();
    }
    return true;
}
