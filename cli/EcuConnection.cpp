#include "cli/EcuConnection.h"

#include <cstdio>

#include "protocol/PortDetection.h"

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
    const PortDetection detection = DetectPort(Port, Ecu);
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
