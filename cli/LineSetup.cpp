#include "cli/LineSetup.h"

#include <cstdio>
#include <filesystem>

#include "cli/Console.h"
#include "cli/TextTable.h"

namespace {

// A port tried, as the search goes: "COM2 (/dev/ttyS0): no answer".
void SayTried(const PortProbe& probe) {
    const std::string trouble = PortTrouble(probe);
    const std::string outcome = probe.Answered    ? "the ECU answers"
                                : trouble.empty() ? "no answer"
                                                  : trouble;
    std::fprintf(stderr, "  %s: %s\n", PortShown(probe.Name, probe.Device).c_str(),
                 outcome.c_str());
}

// Why the ports tried did not do, once the search is over.
void SayWhyNot(const std::string& portName, const PortDetection& detection, bool saidEach) {
    if (!portName.empty()) {
        const PortProbe& probe = detection.Tried.front();
        const std::string trouble = PortTrouble(probe);
        if (probe.Open != OpenOutcome::Opened)
            std::fprintf(stderr, "Port %s: %s.\n", PortShown(portName, probe.Device).c_str(),
                         trouble.c_str());
        else
            std::fprintf(stderr, "No ECU answers on %s%s%s.\n",
                         PortShown(portName, probe.Device).c_str(), trouble.empty() ? "" : "; it ",
                         trouble.c_str());
        return;
    }
    if (detection.Tried.empty()) {
        std::fprintf(stderr, "No serial ports found.\n");
        return;
    }
    // The ECU may well be behind a port that did not open.
    if (!saidEach)
        for (const PortProbe& probe : detection.Tried)
            if (const std::string trouble = PortTrouble(probe); !trouble.empty())
                std::fprintf(stderr, "Port %s: %s.\n", PortShown(probe.Name, probe.Device).c_str(),
                             trouble.c_str());
    std::fprintf(stderr, "No ECU answered on any port (use --port to pick one).\n");
}

}  // namespace

void CliMessages::Say(const std::string& text) {
    std::fprintf(stderr, "Error: %s\n", Printable(text).c_str());
}

bool ConnectLine(EcuLine& line, CliMessages& messages, const std::string& portName,
                 const RecordOption& record) {
    if (!record.Path.empty() &&
        !line.RecordInto(record.Path, record.Force,
                         std::filesystem::current_path() / "database.ini")) {
        std::fprintf(stderr, "Error: the recording %s cannot be created: %s.\n",
                     PrintablePath(record.Path).c_str(), line.RecordingFailure().c_str());
        return false;
    }
    // A search takes a moment per port; on a terminal the user sees it go.
    const bool sayEach = portName.empty() && ErrorsAreTerminal();
    if (sayEach) std::fprintf(stderr, "Looking for the ECU on every port:\n");
    messages.Hold();
    const PortDetection detection =
        line.Connect(portName, sayEach ? EcuLine::OnTried(SayTried) : EcuLine::OnTried());
    messages.Release(detection);
    if (!detection.Answered) {
        SayWhyNot(portName, detection, sayEach);
        return false;
    }
    const PortProbe& probe = detection.Tried[*detection.Answered];
    const std::string shown = PortShown(probe.Name, probe.Device);
    // The ECU answers all the same; what the port said may explain a fault later.
    if (const std::string trouble = PortTrouble(probe); !trouble.empty())
        std::fprintf(stderr, "Port %s: %s.\n", shown.c_str(), trouble.c_str());
    std::fprintf(stderr, "%s: ECU program version %s, application identifier %s.\n", shown.c_str(),
                 probe.ProgramVersion.c_str(), probe.ApplicationId.c_str());
    return true;
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

void AddRecordOption(CLI::App& command, RecordOption& record) {
    CLI::Option* path =
        command
            .add_option("--record", record.Path,
                        "Record every byte to and from the port into FILE, a new regular file "
                        "(see 'replay')")
            ->type_name("FILE")
            ->check(CLI::Validator(
                [](std::string& name) {
                    return name.empty() ? std::string("a file is needed") : "";
                },
                ""));
    command.add_flag("--force", record.Force, "Replace the file of --record when it exists")
        ->needs(path);
}
