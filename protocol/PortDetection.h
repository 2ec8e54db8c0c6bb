#pragma once
// Finding the port on which the ECU answers: each listed port in turn is
// opened and probed, as the window does at start-up and the command-line
// tool before it talks to the ECU.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "protocol/EcuProtocol.h"
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

// Opens the named port and probes it. The port is left open when the ECU
// answered and keepOpen is set, and closed otherwise. The port must be closed.
PortProbe ProbePort(SerialPort& port, EcuProtocol& ecu, const std::string& name, bool keepOpen);

// Lists the ports (filling PortNames) and probes each in list order. The first
// port that answers stays open and ends the search; the ports after it are not
// tried. When none answers, every port was tried and none is left open.
// onTried, when given, hears of each port as soon as it was tried.
PortDetection DetectPort(SerialPort& port, EcuProtocol& ecu,
                         const std::function<void(const PortProbe&)>& onTried = {});

// Probes every listed port, closing each again, to report all that answer.
PortDetection ProbeEveryPort(SerialPort& port, EcuProtocol& ecu,
                             const std::function<void(const PortProbe&)>& onTried = {});
