// vmxdiag-cli probe: opens each port in turn and tells whether an ECU answers.

#include <cstdio>
#include <string>

#include "cli/CliSession.h"
#include "cli/Command.h"
#include "presentation/LineWording.h"

namespace {

// The port tried and its outcome on standard output, for whoever reads the
// list; what went wrong with it on standard error, as every trouble is said.
void PrintProbe(const PortProbe& probe) {
    const std::string shown = PortShown(probe.Name, probe.Device);
    if (probe.Answered)
        std::printf("%s: ECU answers: program version %s, application identifier %s\n",
                    shown.c_str(), probe.ProgramVersion.c_str(), probe.ApplicationId.c_str());
    else
        std::printf("%s: %s\n", shown.c_str(),
                    probe.Open == OpenOutcome::Opened ? "no answer" : "not opened");
    std::fflush(stdout);
    if (const std::string trouble = PortTrouble(probe); !trouble.empty())
        std::fprintf(stderr, "Port %s: %s.\n", shown.c_str(), trouble.c_str());
}

int ProbePorts(const SessionChoice& options) {
    CliMessages sink;
    const auto session = StartSession(sink, options, DefinitionNeed::None);
    if (!session) return 1;
    EcuLine& line = session->Line;
    const std::string& portName = options.Port;
    // Each port's messages are said with it.
    sink.Hold();
    PortDetection detection;
    if (!portName.empty()) {
        detection.Tried.push_back(line.ProbePort(portName, false));
        PrintProbe(detection.Tried.back());
        if (detection.Tried.back().Answered) detection.Answered = 0;
    } else {
        detection = line.ProbeEveryPort(PrintProbe);
    }
    sink.Release(detection);
    if (detection.Tried.empty()) {
        std::fprintf(stderr, "No serial ports found; nothing to probe.\n");
        return 2;
    }
    if (!detection.Answered) std::fprintf(stderr, "No ECU answered.\n");
    return detection.Answered ? 0 : 1;
}

void DeclareProbe(CLI::App& command, SessionChoice& options) {
    AddPortOption(command, options.Port, "Probe only this port (COM name or device path)");
}

}  // namespace

void AddProbeCommand(CLI::App& app, int& status) {
    AddCommand(app, status, "probe", "Tell on which port an ECU answers", ProbePorts, DeclareProbe,
               Stops::BetweenExchanges);
}
