#pragma once
// DOS-style port names (COM1, COM12, ...) and the devices they stand for.
//
// On Windows they are the system's own: listed from its device namespace and
// opened through it (\\.\COM12). Elsewhere the folder `dosdevices/` of a base
// folder (the current directory for the tool) holds links named like DOS
// devices to tty devices, and listing it plays the part of the system's device
// listing; without that folder, COM1 to COM8 stand for the first eight serial
// devices of the system (see SystemSerialDevices.h). A name starting with '/'
// is a device path as it stands.

#include <filesystem>
#include <string>
#include <vector>

struct PortEntry {
    std::string Name;    // "COM3", or a device path
    std::string Device;  // what it stands for: the tty device, or Windows' name of the device
};

// The ports a user may pick, in the order to show and probe them.
std::vector<PortEntry> ListPortEntries(const std::filesystem::path& base);

// The device path that opening a port name opens; empty when the name stands
// for nothing.
std::string ResolvePortName(const std::string& name, const std::filesystem::path& base);
