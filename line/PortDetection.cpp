#include "line/PortDetection.h"

#include "line/EcuLine.h"

namespace {

// "Could not retrieve serial port state." as a part of a sentence.
std::string MessagePart(const std::string& message) {
    std::string part = message;
    if (!part.empty() && part.front() >= 'A' && part.front() <= 'Z')
        part.front() = static_cast<char>(part.front() - 'A' + 'a');
    while (!part.empty() && part.back() == '.') part.pop_back();
    return part;
}

}  // namespace

std::string OpenFailureText(OpenOutcome outcome, const std::string& reason) {
    switch (outcome) {
        case OpenOutcome::Opened:
        case OpenOutcome::AlreadyOpen:
            return "is open";
        case OpenOutcome::NoSuchPort:
            return "no such device";
        case OpenOutcome::InUse:
            return "in use by another program";
        case OpenOutcome::PermissionDenied:
            return "permission denied (add your user to the group dialout and log in again)";
        case OpenOutcome::CannotOpen:
            return reason.empty() ? "cannot be opened"
                                  : "cannot be opened (" + MessagePart(reason) + ")";
        case OpenOutcome::NotConfigured:
            return "cannot be set up as a serial line";
    }
    return "cannot be opened";
}

std::string PortShown(const std::string& name, const std::string& device) {
    // Windows' own name of a port's device says nothing the name does not.
    const bool same = device.empty() || device == name || device == "\\\\.\\" + name;
    return same ? name : name + " (" + device + ")";
}

std::string PortTrouble(const PortProbe& probe) {
    const bool opened = probe.Open == OpenOutcome::Opened;
    if (opened && probe.Messages.empty()) return {};
    std::string text = opened ? "opened, but it may not run at 38400 baud, 8N1"
                              : OpenFailureText(probe.Open, probe.OpenReason);
    for (std::size_t i = 0; i < probe.Messages.size(); ++i)
        text += (i == 0 ? " (" : "; ") + MessagePart(probe.Messages[i]);
    if (!probe.Messages.empty()) text += ")";
    return text;
}

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
