#pragma once
// The line to the ECU for the commands that talk to it: the port, its
// messages on standard error, and the requests over it.

#include <CLI/CLI.hpp>
#include <string>

#include "protocol/EcuProtocol.h"
#include "serial/SerialPort.h"

struct EcuConnection {
    StderrSink Sink;
    SerialPort Port{Sink};
    EcuProtocol Ecu{Port};

    // Opens `portName` when one is given, otherwise each listed port in turn, as
    // the window does at start-up, and keeps the first on which the probe is
    // answered. False, with the reason on standard error, when no port could be
    // opened or no ECU answered.
    bool Connect(const std::string& portName);
};

// Why a port did not open, for a message: "cannot be opened", "is in use by
// another program", ...
std::string OpenFailureText(OpenOutcome outcome);

// Adds --port NAME to a command. An empty name is refused: it would otherwise
// read as no name at all and send frames to every port.
void AddPortOption(CLI::App& command, std::string& port, const std::string& help);
