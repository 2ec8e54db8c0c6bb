#pragma once
// The line to the ECU as the commands that talk to it set it up: the --port
// and --record options, and what the user is told when no ECU answers or a
// recording cannot be made. The line itself is the core's (line/EcuLine.h).

#include <CLI/CLI.hpp>
#include <string>

#include "line/EcuLine.h"

// Records into `recordPath` when one is given, then opens `portName` when one
// is given, otherwise each listed port in turn, as the window does at
// start-up, and keeps the first on which the probe is answered. False, with
// the reason on standard error, when the recording cannot be created, no port
// could be opened or no ECU answered.
bool ConnectLine(EcuLine& line, const std::string& portName, const std::string& recordPath);

// Writes the recording's new lines; call it between exchanges. A write that
// fails ends the recording with one message on standard error, never the run.
void SaveRecording(EcuLine& line);

// Adds --port NAME to a command. An empty name is refused: it would otherwise
// read as no name at all and send frames to every port.
void AddPortOption(CLI::App& command, std::string& port, const std::string& help);

// Adds --record FILE to a command that talks to the ECU.
void AddRecordOption(CLI::App& command, std::string& path);
