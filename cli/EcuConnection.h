#pragma once
// Finding and opening the port of the ECU for the commands that talk to it.

#include <string>

#include "protocol/EcuProtocol.h"
#include "serial/SerialPort.h"

// Opens `portName` when one is given, otherwise each listed port in turn, as
// the window does at start-up, and keeps the first on which the probe is
// answered. False, with the reason on standard error, when no port could be
// opened or no ECU answered.
bool ConnectEcu(SerialPort& port, EcuProtocol& ecu, const std::string& portName);
