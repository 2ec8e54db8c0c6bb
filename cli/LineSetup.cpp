#include "cli/LineSetup.h"

#include <cstdio>

#include "cli/TextTable.h"

bool ConnectLine(EcuLine& line, const std::string& portName, const std::string& recordPath) {
    if (!recordPath.empty() && !line.RecordInto(recordPath)) {
        std::fprintf(stderr, "Error: the recording %s cannot be created: %s.\n",
                     PrintablePath(recordPath).c_str(), line.RecordingFailure().c_str());
        return false;
    }
    const PortDetection detection = line.Connect(portName);
    if (detection.Answered) return true;
    if (!portName.empty()) {
        const PortProbe& probe = detection.Tried.front();
        if (probe.Device.empty())
            std::fprintf(stderr, "Port %s %s.\n", portName.c_str(),
                         OpenFailureText(probe.Open).c_str());
        else
            std::fprintf(stderr, "No ECU answers on %s.\n", portName.c_str());
        return false;
    }
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

void SaveRecording(EcuLine& line) {
    if (!line.SaveRecording()) std::fprintf(stderr, "%s\n", RecordingStoppedText(line).c_str());
}

void AddPortOption(CLI::App& command, std::string& port, const std::string& help) {
    command.add_option("--port", port, help)
        ->check(CLI::Validator(
            [](std::string& name) {
                return name.empty() ? std::string("a port name or device is needed") : "";
            },
            "NAME"));
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
