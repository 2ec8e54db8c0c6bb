#pragma once
// The line to the ECU for the commands that talk to it: the port, its
// messages on standard error, the requests over it, and the recording of
// every transfer when one was asked for.

#include <CLI/CLI.hpp>
#include <string>

#include "protocol/EcuProtocol.h"
#include "protocol/LineRecorder.h"
#include "protocol/RecordingFile.h"
#include "serial/SerialPort.h"

struct EcuConnection {
    EcuConnection() = default;
    ~EcuConnection();  // saves what is left of a recording
    EcuConnection(const EcuConnection&) = delete;
    EcuConnection& operator=(const EcuConnection&) = delete;

    StderrSink Sink;
    SerialPort Port{Sink};
    // Every transfer passes the recorder, which keeps lines only while recording.
    LineRecorder Recorder{Port};
    EcuProtocol Ecu{Recorder};

    // Opens `portName` when one is given, otherwise each listed port in turn, as
    // the window does at start-up, and keeps the first on which the probe is
    // answered. False, with the reason on standard error, when no port could be
    // opened or no ECU answered.
    bool Connect(const std::string& portName);

    // Before Connect: records every transfer from then on into the file at
    // `path` (nothing when it is empty). The transfers on ports where no ECU
    // answered are left out. False, with the reason on standard error, when
    // the file cannot be created.
    bool RecordInto(const std::string& path);
    // Writes the lines recorded since the last save; call it between
    // exchanges. A write that fails ends the recording with one message on
    // standard error, and never the session.
    void SaveRecording();

private:
    void StopRecording();

    RecordingFile recording_;
    std::string recordingPath_;
    std::string unsaved_;
    bool portNamed_ = false;
};

// Why a port did not open, for a message: "cannot be opened", "is in use by
// another program", ...
std::string OpenFailureText(OpenOutcome outcome);

// Adds --port NAME to a command. An empty name is refused: it would otherwise
// read as no name at all and send frames to every port.
void AddPortOption(CLI::App& command, std::string& port, const std::string& help);

// Adds --record FILE to a command that talks to the ECU.
void AddRecordOption(CLI::App& command, std::string& path);
