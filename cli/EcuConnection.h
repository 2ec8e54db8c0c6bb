#pragma once
// Finding and opening the port of the ECU for the commands that talk to it.

#include <string>

#include "protocol/EcuProtocol.h"
#include "serial/SerialPort.h"

// Opens `portName` when one is given (no probe: the user chose it). Otherwise
// opens each listed port in turn and keeps the first on which the probe is
// answered, as the window does at start-up. False, with the reason on standard
// error, when no port could be opened or none answered.
bool ConnectEcu(SerialPort& port, EcuProtocol& ecu, const std::string& portName);
