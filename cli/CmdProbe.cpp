// vmxdiag-cli probe: opens each port in turn and tells whether an ECU answers.

#include <cstdio>
#include <string>

#include "cli/Command.h"
#include "cli/LineSetup.h"
#include "cli/StopSignals.h"

namespace {

void PrintProbe(const PortProbe& probe) {
    const std::string shown = PortShown(probe.Name, probe.Device);
    const std::string trouble = PortTrouble(probe);
    if (probe.Answered)
        std::printf("%s: ECU answers: program version %s, application identifier %s%s%s\n",
                    shown.c_str(), probe.ProgramVersion.c_str(), probe.ApplicationId.c_str(),
                    trouble.empty() ? "" : "; ", trouble.c_str());
    else if (probe.Open == OpenOutcome::Opened)
        std::printf("%s: no answer%s%s\n", shown.c_str(), trouble.empty() ? "" : "; ",
                    trouble.c_str());
    else
        std::printf("%s: %s\n", shown.c_str(), trouble.c_str());
    std::fflush(stdout);
}

int ProbePorts(const std::string& portName) {
    CliMessages sink;
    EcuLine line(sink);
    // Each port's messages are said with it.
    sink.HoldPortMessages();
    PortDetection detection;
    if (!portName.empty()) {
        detection.Tried.push_back(line.ProbePort(portName, false));
        PrintProbe(detection.Tried.back());
        if (detection.Tried.back().Answered) detection.Answered = 0;
    } else {
        detection = line.ProbeEveryPort(PrintProbe);
    }
    sink.ReleasePortMessages(detection);
    if (detection.Tried.empty()) {
        std::fprintf(stderr, "No serial ports found; nothing to probe.\n");
        return 2;
    }
    if (!detection.Answered) std::fprintf(stderr, "No ECU answered.\n");
    return detection.Answered ? 0 : 1;
}

}  // namespace

void AddProbeCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("probe", "Tell on which port an ECU answers");
    auto port = std::make_shared<std::string>();
    AddPortOption(*command, *port, "Probe only this port (COM name or device path)");
    command->callback([&status, port] {
        StopSignals stop;
        status = stop.Outcome(ProbePorts(*port));
    });
}
