#pragma once
// DOS-style port names (COM1, COM12, ...) and the devices they stand for.
//
// The folder `dosdevices/` of a base folder (the current directory for the
// tool) holds links named like DOS devices to tty devices; listing it plays the
// part of the system's device listing. Without that folder, COM1 to COM8 stand
// for the first eight serial devices of the system (ttyUSB*, ttyACM*, then
// ttyS*). A name starting with '/' is a device path as it stands.

#include <filesystem>
#include <string>
#include <vector>

struct PortEntry {
    std::string Name;    // "COM3", or a device path
    std::string Device;  // the tty device it stands for
};

// The ports a user may pick, in the order to show and probe them. The
// fallback looks for the system's devices in devFolder.
std::vector<PortEntry> ListPortEntries(const std::filesystem::path& base,
                                       const std::filesystem::path& devFolder = "/dev");

// The device for a port name; empty when the name stands for nothing.
std::string ResolvePortName(const std::string& name, const std::filesystem::path& base,
                            const std::filesystem::path& devFolder = "/dev");
