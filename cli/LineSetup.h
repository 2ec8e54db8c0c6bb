#pragma once
// The line to the ECU as the commands that talk to it set it up: the --port
// and --record options, and what the user is told on the way: the ports tried
// (on a terminal), why a port did not open, and which port and ECU answered.
// The line itself is the core's (line/EcuLine.h).

#include <CLI/CLI.hpp>
#include <string>

#include "line/EcuLine.h"
#include "line/PortSearchMessages.h"

// The core's messages on standard error, "Error: ..." each. While ports are
// tried, their messages are held back: they are said in one sentence with
// the port and its device (PortTrouble).
class CliMessages : public PortSearchMessages {
protected:
    void Say(const std::string& text) override;
};

// --record FILE and --force of a command.
struct RecordOption {
    std::string Path;  // empty: no recording
    bool Force = false;
};

// Records as `record` says when it names a file, then opens `portName` when
// one is given, otherwise each listed port in turn, as the window does at
// start-up, and keeps the first on which the probe is answered. On success
// the port, its device and the ECU's program version are said on standard
// error; while ports are searched on a terminal, each one tried is said too.
// False, with the reason on standard error, when the recording cannot be
// created, no port could be opened or no ECU answered.
bool ConnectLine(EcuLine& line, CliMessages& messages, const std::string& portName,
                 const RecordOption& record);

// Writes the recording's new lines; call it between exchanges. A write that
// fails ends the recording with one message on standard error, never the run.
void SaveRecording(EcuLine& line);

// Adds --port NAME to a command. An empty name is refused: it would otherwise
// read as no name at all and send frames to every port.
void AddPortOption(CLI::App& command, std::string& port, const std::string& help);

// Adds --record FILE and --force to a command that talks to the ECU.
void AddRecordOption(CLI::App& command, RecordOption& record);
