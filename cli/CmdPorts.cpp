// vmxdiag-cli ports: the port names the window would offer, with their devices.

#include <cstdio>
#include <filesystem>

#include "cli/Command.h"
#include "serial/PortNamespace.h"

void AddPortsCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("ports", "List the serial port names and their devices");
    command->callback([&status] {
        const auto entries = ListPortEntries(std::filesystem::current_path());
        if (entries.empty()) {
            std::fprintf(stderr, "No serial ports found.\n");
            status = 1;
            return;
        }
        for (const auto& entry : entries)
            std::printf("%-8s %s\n", entry.Name.c_str(), entry.Device.c_str());
        status = 0;
    });
}
