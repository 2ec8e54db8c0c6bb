#include "line/PortDetection.h"

#include "line/EcuLine.h"

PortProbe EcuLine::ProbePort(const std::string& name, bool keepOpen) {
    PortProbe probe;
    probe.Name = name;
    OpenResult result = Open(name);
    probe.Open = result.Outcome;
    probe.Device = std::move(result.Device);
    probe.OpenReason = std::move(result.Reason);
    probe.Messages = std::move(result.Messages);
    if (!port_->IsOpen()) return probe;
    probe.Device = port_->Device();
    probe.Answered = ecu_.Probe();
    if (probe.Answered) {
        probe.ProgramVersion = ecu_.ProgramVersion;
        probe.ApplicationId = ecu_.ApplicationId;
    }
    if (!probe.Answered || !keepOpen) Close();
    return probe;
}

PortDetection EcuLine::ProbeListedPorts(bool stopAtFirst, const OnTried& onTried) {
    port_->ListPorts();
    PortDetection detection;
    for (const std::string& name : port_->PortNames()) {
        detection.Tried.push_back(ProbePort(name, stopAtFirst));
        const PortProbe& probe = detection.Tried.back();
        // A port where no ECU answered has nothing to replay: what it was
        // sent is dropped from the recording, its port line with it.
        if (!probe.Answered && recorder_.IsRecording()) recorder_.Start();
        if (onTried) onTried(probe);
        if (probe.Answered) {
            if (!detection.Answered) detection.Answered = detection.Tried.size() - 1;
            if (stopAtFirst) break;
        }
    }
    return detection;
}

PortDetection EcuLine::Detect(const OnTried& onTried) {
    PortDetection detection = ProbeListedPorts(true, onTried);
    if (!detection.Answered) NoteInRecording("no ECU answered on any port");
    return detection;
}

PortDetection EcuLine::Connect(const std::string& portName, const OnTried& onTried) {
    if (portName.empty()) return Detect(onTried);
    // A line that echoes would take any request without an ECU behind it, so
    // a named port is probed too.
    PortDetection detection;
    detection.Tried.push_back(ProbePort(portName, true));
    if (onTried) onTried(detection.Tried.back());
    if (detection.Tried.back().Answered) detection.Answered = 0;
    return detection;
}

PortDetection EcuLine::ProbeEveryPort(const OnTried& onTried) {
    return ProbeListedPorts(false, onTried);
}
