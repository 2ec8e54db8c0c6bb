#include "protocol/PortDetection.h"

namespace {

PortDetection ProbeListedPorts(SerialPort& port, EcuProtocol& ecu, bool stopAtFirst,
                               const std::function<void(const PortProbe&)>& onTried) {
    port.ListPorts();
    PortDetection detection;
    for (const std::string& name : port.PortNames()) {
        detection.Tried.push_back(ProbePort(port, ecu, name, stopAtFirst));
        if (onTried) onTried(detection.Tried.back());
        if (detection.Tried.back().Answered) {
            if (!detection.Answered) detection.Answered = detection.Tried.size() - 1;
            if (stopAtFirst) break;
        }
    }
    return detection;
}

}  // namespace

PortProbe ProbePort(SerialPort& port, EcuProtocol& ecu, const std::string& name, bool keepOpen) {
    PortProbe probe;
    probe.Name = name;
    port.Open(name);
    probe.Open = port.LastOpen();
    if (!port.IsOpen()) return probe;
    probe.Device = port.Device();
    probe.Answered = ecu.Probe();
    if (probe.Answered) {
        probe.ProgramVersion = ecu.ProgramVersion;
        probe.ApplicationId = ecu.ApplicationId;
    }
    if (!probe.Answered || !keepOpen) port.Close();
    return probe;
}

PortDetection DetectPort(SerialPort& port, EcuProtocol& ecu,
                         const std::function<void(const PortProbe&)>& onTried) {
    return ProbeListedPorts(port, ecu, true, onTried);
}

PortDetection ProbeEveryPort(SerialPort& port, EcuProtocol& ecu,
                             const std::function<void(const PortProbe&)>& onTried) {
    return ProbeListedPorts(port, ecu, false, onTried);
}
