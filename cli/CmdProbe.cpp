// vmxdiag-cli probe: opens each port in turn and tells whether an ECU answers.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "protocol/EcuProtocol.h"
#include "serial/PortNamespace.h"
#include "serial/SerialPort.h"

namespace {

// Probes one port; true when an ECU answered.
bool ProbePort(SerialPort& port, const std::string& name) {
    const std::string device = ResolvePortName(name, std::filesystem::current_path());
    const std::string shown = device.empty() || device == name ? name : name + " (" + device + ")";
    port.Open(name);
    if (!port.IsOpen()) {
        std::printf("%s: cannot be opened\n", shown.c_str());
        return false;
    }
    EcuProtocol ecu(port);
    const bool answered = ecu.Probe();
    port.Close();
    if (answered)
        std::printf("%s: ECU answers: program version %s, application identifier %s\n",
                    shown.c_str(), ecu.ProgramVersion.c_str(), ecu.ApplicationId.c_str());
    else
        std::printf("%s: no answer\n", shown.c_str());
    std::fflush(stdout);
    return answered;
}

}  // namespace

void AddProbeCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("probe", "Tell on which port an ECU answers");
    auto port = std::make_shared<std::string>();
    command->add_option("--port", *port, "Probe only this port (COM name or device path)");
    command->callback([&status, port] {
        StderrSink sink;
        SerialPort serial(sink);
        std::vector<std::string> names;
        if (!port->empty()) {
            names.push_back(*port);
        } else {
            serial.ListPorts();
            names = serial.PortNames();
        }
        if (names.empty()) {
            std::fprintf(stderr, "No serial ports found; nothing to probe.\n");
            status = 2;
            return;
        }
        bool found = false;
        for (const auto& name : names) found = ProbePort(serial, name) || found;
        if (!found) std::fprintf(stderr, "No ECU answered.\n");
        status = found ? 0 : 1;
    });
}
