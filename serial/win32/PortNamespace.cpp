// Windows' own port namespace: the names come from the system's device list,
// and a name is opened through the device namespace.

#include "serial/PortNamespace.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "serial/win32/PortListing.h"

namespace {

constexpr std::string_view DeviceNamespace = "\\\\.\\";

// What the system says a DOS device name stands for ("\Device\Serial0",
// "\Device\USBSER000"): it tells an adapter from a built-in port.
std::string SystemDeviceOf(const std::string& name) {
    char target[1024] = {};
    if (::QueryDosDeviceA(name.c_str(), target, sizeof target) == 0) return {};
    return target;  // the first of its zero-terminated targets
}

bool IsDosDeviceName(const std::string& name) {
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
}

}  // namespace

std::vector<PortEntry> ListPortEntries(const std::filesystem::path&) {
    std::vector<PortEntry> entries;
    for (std::string& name : ListComPorts(SystemPortListingCalls())) {
        std::string device = SystemDeviceOf(name);
        entries.push_back({std::move(name), std::move(device)});
    }
    return entries;
}

// A plain COM12 does not open: only COM1 to COM9 are known to the file name
// rules without the device namespace. So every name is opened through it, and
// a path already in a namespace (\\.\COM12, \\?\...) as it stands. Anything
// else (a file name, a drive) is no port.
std::string ResolvePortName(const std::string& name, const std::filesystem::path&) {
    if (name.empty() || name.find('\0') != std::string::npos) return {};
    if (name.starts_with(DeviceNamespace) || name.starts_with("\\\\?\\")) return name;
    if (!IsDosDeviceName(name)) return {};
    return std::string(DeviceNamespace) + name;
}
