#pragma once
// Every text the ECU information read fills, in a fixed order, for comparing
// all of them at once.

#include <string>
#include <vector>

#include "protocol/EcuProtocol.h"

inline std::vector<std::string> Texts(const EcuProtocol& ecu) {
    return {ecu.ManufacturerCode, ecu.ProductionDate,      ecu.SerialNumber,
            ecu.UserCode,         ecu.LastProgrammingDate, ecu.Vin,
            ecu.WholeWorkingTime, ecu.NearIdleTime,        ecu.HighSpeedSmallLoadTime,
            ecu.PartialLoadTime,  ecu.MaximumLoadTime,     ecu.RackZeroPosition};
}
