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
    std::string Device;  // what the name stood for when opened; empty if it did not open
    OpenOutcome Open = OpenOutcome::NoSuchPort;
    bool Answered = false;
    std::string ProgramVersion;  // the probe's texts, when answered
    std::string ApplicationId;
};

struct PortDetection {
    std::vector<PortProbe> Tried;         // in list order
    std::optional<std::size_t> Answered;  // index into Tried of the port kept open
};
