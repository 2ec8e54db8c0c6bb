#pragma once
// Finding the port on which the ECU answers: each listed port in turn is
// opened and probed, as the window does at start-up and the command-line tool
// before it talks to the ECU. The search itself is EcuLine's (PortDetection.cpp).

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "serial/SerialPort.h"

// One port tried: how its open went and whether the ECU answered the probe.
struct PortProbe {
    std::string Name;
    std::string Device;  // what the name stood for when tried; empty when nothing
    OpenOutcome Open = OpenOutcome::NoSuchPort;
    std::string OpenReason;             // the system's words when the device refused to open
    std::vector<std::string> Messages;  // the port's messages while it was opened
    bool Answered = false;
    std::string ProgramVersion;  // the probe's texts, when answered
    std::string ApplicationId;
};

struct PortDetection {
    std::vector<PortProbe> Tried;         // in list order
    std::optional<std::size_t> Answered;  // index into Tried of the port kept open
};
