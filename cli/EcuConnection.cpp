#include "cli/EcuConnection.h"

#include <cstdio>

#include "cli/TextTable.h"
#include "protocol/LineRecording.h"
#include "protocol/PortDetection.h"

EcuConnection::~EcuConnection() {
    SaveRecording();
    if (!recording_.Close()) StopRecording();
}

bool EcuConnection::RecordInto(const std::string& path) {
    if (path.empty()) return true;
    if (!recording_.Create(path)) {
        std::fprintf(stderr, "Error: the recording %s cannot be created: %s.\n",
                     PrintablePath(path).c_str(), recording_.Failure().c_str());
        return false;
    }
    recordingPath_ = path;
    Recorder.Start();
    return true;
}

void EcuConnection::SaveRecording() {
    if (!recording_.IsOpen()) return;
    // The port is named once the ECU answered on it, before its first transfer.
    if (!portNamed_ && Port.IsOpen()) {
        unsaved_ += RecordingPortLine(Port.Name(), Port.Device());
        portNamed_ = true;
    }
    Recorder.TakeLines(unsaved_);
    if (unsaved_.empty()) return;
    if (!recording_.Write(unsaved_)) StopRecording();
    unsaved_.clear();
}

void EcuConnection::StopRecording() {
    Recorder.Stop();
    std::fprintf(stderr, "The recording into %s stopped: %s.\n",
                 PrintablePath(recordingPath_).c_str(), recording_.Failure().c_str());
}

bool EcuConnection::Connect(const std::string& portName) {
    if (!portName.empty()) {
        // A line that echoes would take any request without an ECU behind it,
        // so a named port is probed too.
        const PortProbe probe = ProbePort(Port, Ecu, portName, true);
        if (probe.Answered) return true;
        if (probe.Device.empty())
            std::fprintf(stderr, "Port %s %s.\n", portName.c_str(),
                         OpenFailureText(probe.Open).c_str());
        else
            std::fprintf(stderr, "No ECU answers on %s.\n", portName.c_str());
        return false;
    }
    // A port where no ECU answered has nothing to replay: its transfers are dropped.
    const PortDetection detection = DetectPort(Port, Ecu, [this](const PortProbe& probe) {
        if (!probe.Answered && Recorder.IsRecording()) Recorder.Start();
    });
    if (detection.Answered) return true;
    if (detection.Tried.empty()) {
        std::fprintf(stderr, "No serial ports found.\n");
        return false;
    }
    // The ECU may well be behind a port that another program holds.
    for (const PortProbe& probe : detection.Tried)
        if (probe.Open == OpenOutcome::InUse)
            std::fprintf(stderr, "Port %s %s.\n", probe.Name.c_str(),
                         OpenFailureText(probe.Open).c_str());
    std::fprintf(stderr, "No ECU answered on any port (use --port to pick one).\n");
    return false;
}

void AddPortOption(CLI::App& command, std::string& port, const std::string& help) {
    command.add_option("--port", port, help)
        ->check(CLI::Validator(
            [](std::string& name) {
                return name.empty() ? std::string("a port name or device is needed") : "";
            },
            "NAME"));
}

std::string OpenFailureText(OpenOutcome outcome) {
    switch (outcome) {
        case OpenOutcome::Opened:
        case OpenOutcome::AlreadyOpen:
            return "is open";
        case OpenOutcome::NoSuchPort:
            return "does not exist";
        case OpenOutcome::InUse:
            return "is in use by another program";
        case OpenOutcome::CannotOpen:
            return "cannot be opened";
        case OpenOutcome::NotConfigured:
            return "cannot be set up as a serial line";
    }
    return "cannot be opened";
}

void AddRecordOption(CLI::App& command, std::string& path) {
    command
        .add_option("--record", path,
                    "Record every byte to and from the port into FILE (see 'replay')")
        ->type_name("FILE")
        ->check(CLI::Validator(
            [](std::string& name) { return name.empty() ? std::string("a file is needed") : ""; },
            "FILE"));
}
