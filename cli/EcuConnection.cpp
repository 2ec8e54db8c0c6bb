#include "cli/EcuConnection.h"

#include <cstdio>

bool ConnectEcu(SerialPort& port, EcuProtocol& ecu, const std::string& portName) {
    if (!portName.empty()) {
        port.Open(portName);
        if (!port.IsOpen()) {
            std::fprintf(stderr, "Port %s cannot be opened.\n", portName.c_str());
            return false;
        }
        // A line that echoes would take any request without an ECU behind it.
        if (ecu.Probe()) return true;
        std::fprintf(stderr, "No ECU answers on %s.\n", portName.c_str());
        port.Close();
        return false;
    }
    port.ListPorts();
    if (port.PortNames().empty()) {
        std::fprintf(stderr, "No serial ports found.\n");
        return false;
    }
    for (const auto& name : port.PortNames()) {
        port.Open(name);
        if (!port.IsOpen()) continue;
        if (ecu.Probe()) return true;
        port.Close();
    }
    std::fprintf(stderr, "No ECU answered on any port (use --port to pick one).\n");
    return false;
}
