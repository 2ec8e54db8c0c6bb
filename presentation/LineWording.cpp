#include "presentation/LineWording.h"

#include "text/PathText.h"

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

std::string RecordingNotCreatedText(const std::string& path, const std::string& reason) {
    return "The recording " + PrintablePath(path) + " cannot be created: " + reason + ".";
}
