#pragma once
// The port namespace of POSIX systems, with the folder of devices to look in
// (tests give a folder of their own), and its fallback, used when there is no
// dosdevices/ folder: COM1 to COM8 stand for the first eight serial devices of
// the system.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "serial/PortNamespace.h"

// ListPortEntries and ResolvePortName of PortNamespace.h, whose fallback looks
// for the system's devices in devFolder ("/dev" there).
std::vector<PortEntry> ListPortEntries(const std::filesystem::path& base,
                                       const std::filesystem::path& devFolder);
std::string ResolvePortName(const std::string& name, const std::filesystem::path& base,
                            const std::filesystem::path& devFolder);

// The serial devices of `devFolder` in the order the fallback numbers them:
// USB adapters first (ttyUSB*, then ttyACM*), then the built-in ttyS*, each
// group in natural order.
std::vector<std::string> SystemSerialDevices(const std::filesystem::path& devFolder = "/dev");

// Tries to open a device as the port would and closes it again: 0 when it
// opened, else the errno of the failed open. A built-in ttyS* that opens but
// whose driver reports no UART behind it answers ENXIO, as if it had failed.
using OpenTest = std::function<int(const std::string& device)>;
int TryOpenDevice(const std::string& device);

// COMi for the i-th device, i = 1..8. A name is listed when its device opens,
// or fails only because it is in use or denied (EACCES, EPERM, EBUSY); any
// other failure, EIO included, means there is no port behind it.
std::vector<PortEntry> FallbackPortEntries(const std::vector<std::string>& devices,
                                           const OpenTest& openTest);

// The device the fallback gives to a name; empty unless the name is COM1..COM8.
std::string FallbackDevice(const std::string& name, const std::vector<std::string>& devices);

// Whether a device is a serial port on USB, whose adapter holds short replies
// back for its latency timer unless asked not to. The path may run through
// links (a dosdevices entry, a /dev/serial/by-id name): what counts is the
// device it ends at, named ttyUSB* or ttyACM*, or placed on a USB bus by
// `sysClassTty` (adapters whose drivers name their devices otherwise).
bool IsUsbSerialDevice(const std::string& device,
                       const std::filesystem::path& sysClassTty = "/sys/class/tty");
