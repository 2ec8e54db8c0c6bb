#include "cli/EcuConnection.h"

#include <cstdio>

bool EcuConnection::Connect(const std::string& portName) {
    if (!portName.empty()) {
        Port.Open(portName);
        if (!Port.IsOpen()) {
            std::fprintf(stderr, "Port %s cannot be opened.\n", portName.c_str());
            return false;
        }
        // A line that echoes would take any request without an ECU behind it.
        if (Ecu.Probe()) return true;
        std::fprintf(stderr, "No ECU answers on %s.\n", portName.c_str());
        Port.Close();
        return false;
    }
    Port.ListPorts();
    if (Port.PortNames().empty()) {
        std::fprintf(stderr, "No serial ports found.\n");
        return false;
    }
    for (const auto& name : Port.PortNames()) {
        Port.Open(name);
        if (!Port.IsOpen()) continue;
        if (Ecu.Probe()) return true;
        Port.Close();
    }
    std::fprintf(stderr, "No ECU answered on any port (use --port to pick one).\n");
    return false;
}
