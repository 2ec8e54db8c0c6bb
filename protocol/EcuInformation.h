#pragma once
// One read of everything the ECU information page shows, in the order the
// page sends its requests.

#include "protocol/EcuProtocol.h"

// Only ECUs with program version 40 to 49 are asked for the user, the date of
// last programming and the VIN.
bool ReadsUserAndVin(int programVersionMajor);

// Probe, then the hour counters; only when both answered, the identification
// and, for versions 40 to 49, the user and date and the VIN. True when the
// probe and the counters succeeded; the later requests' results are not
// judged, their texts keep what they held when a reply does not come.
bool ReadEcuInformation(EcuProtocol& ecu);
