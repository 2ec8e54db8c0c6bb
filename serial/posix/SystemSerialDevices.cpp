#include "serial/posix/SystemSerialDevices.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "serial/PortNames.h"

namespace {

constexpr std::size_t FallbackPortCount = 8;
// The group of the built-in ttyS* ports in DeviceGroup.
constexpr int BuiltInGroup = 2;

// Group of a device name in the fallback's numbering, or -1 for a device that
// is no serial port. ttyS0 and ttyS10 qualify; ttyS, ttySAC0 and tty1 do not.
int DeviceGroup(std::string_view name) {
    static constexpr std::array<std::string_view, 3> prefixes{"ttyUSB", "ttyACM", "ttyS"};
    for (std::size_t group = 0; group < prefixes.size(); ++group) {
        const std::string_view prefix = prefixes[group];
        if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) continue;
        const std::string_view number = name.substr(prefix.size());
        if (std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return static_cast<int>(group);
    }
    return -1;
}

// EIO is left out on purpose: it is what a ttyS* without a UART behind it
// answers, and such a name is no port.
bool KeptByOpenTest(int error) {
    return error == 0 || error == EACCES || error == EPERM || error == EBUSY;
}

// The kernel creates ttyS0 to ttyS3 (or more) whether or not there is a UART
// behind them; some of those open fine and only the driver knows the port is
// not there. A driver that refuses the question keeps the device: the open
// itself worked. Only ttyS* is asked, since USB drivers may leave the type
// unset for ports that are there.
bool BuiltInPortWithoutUart(const std::string& device, int fd) {
    if (DeviceGroup(std::filesystem::path(device).filename().string()) != BuiltInGroup)
        return false;
    serial_struct info{};
    return ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type == PORT_UNKNOWN;
}

}  // namespace

std::vector<std::string> SystemSerialDevices(const std::filesystem::path& devFolder) {
    struct Found {
        int group;
        std::string name;
    };
    std::vector<Found> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(devFolder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string name = it->path().filename().string();
        const int group = DeviceGroup(name);
        if (group >= 0) found.push_back({group, std::move(name)});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.group != b.group) return a.group < b.group;
        return NaturalLess(a.name, b.name);
    });
    std::vector<std::string> devices;
    devices.reserve(found.size());
    for (const Found& f : found) devices.push_back((devFolder / f.name).string());
    return devices;
}

int TryOpenDevice(const std::string& device) {
    // Non-blocking, so that a modem line waiting for carrier cannot hold the listing.
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    const bool noUart = BuiltInPortWithoutUart(device, fd);
    ::close(fd);
    return noUart ? ENXIO : 0;
}

std::vector<PortEntry> FallbackPortEntries(const std::vector<std::string>& devices,
                                           const OpenTest& openTest) {
    std::vector<PortEntry> entries;
    const std::size_t count = std::min(devices.size(), FallbackPortCount);
    for (std::size_t i = 0; i < count; ++i) {
        if (KeptByOpenTest(openTest(devices[i])))
            entries.push_back({"COM" + std::to_string(i + 1), devices[i]});
    }
    return entries;
}

std::string FallbackDevice(const std::string& name, const std::vector<std::string>& devices) {
    if (name.size() != 4 || !IsListedPortName(name)) return {};
    const std::size_t index = static_cast<std::size_t>(name[3] - '1');
    return index < devices.size() ? devices[index] : std::string{};
}

namespace {

// The path a link chain ends at; empty when it ends at nothing.
std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) return {};
    std::string resolved(real);
    std::free(real);
    return resolved;
}

}  // namespace

bool IsUsbSerialDevice(const std::string& device, const std::filesystem::path& sysClassTty) {
    const std::string real = RealPath(device);
    if (real.empty()) return false;
    const std::string name = real.substr(real.rfind('/') + 1);
    if (name.starts_with("ttyUSB") || name.starts_with("ttyACM")) return true;
    // sysfs links a tty to the device it belongs to, under the bus it hangs on.
    return RealPath((sysClassTty / name / "device").string()).find("/usb") != std::string::npos;
}
