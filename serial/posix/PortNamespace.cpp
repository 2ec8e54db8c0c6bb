#include "serial/PortNamespace.h"

#include <algorithm>
#include <system_error>

#include "serial/PortNames.h"
#include "serial/posix/SystemSerialDevices.h"

namespace fs = std::filesystem;

namespace {

enum class Folder { Absent, Listable, Unusable };

// A folder that cannot be read plays the part of a failed device listing:
// no ports at all, and the fallback is not tried either. Only nothing at all
// under that name is absent; a link whose target is missing was put there on
// purpose and must not hand the choice to the system's own devices.
Folder LookAtFolder(const fs::path& folder) {
    std::error_code ec;
    const fs::file_status own = fs::symlink_status(folder, ec);
    if (own.type() == fs::file_type::not_found) return Folder::Absent;
    if (ec) return Folder::Unusable;
    const fs::file_status status = fs::is_symlink(own) ? fs::status(folder, ec) : own;
    if (ec || !fs::is_directory(status)) return Folder::Unusable;
    return Folder::Listable;
}

// The device a dosdevices entry stands for: the target of its link (a relative
// target counts from the folder, as the link itself does), or the entry itself.
std::string DeviceOfEntry(const fs::path& folder, const std::string& name) {
    const fs::path entry = folder / name;
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(entry, ec))) {
        const fs::path target = fs::read_symlink(entry, ec);
        if (!ec)
            return (target.is_absolute() ? target : (folder / target).lexically_normal()).string();
    }
    return entry.string();
}

// Only a plain file name may be looked up in the folder; anything else could
// reach outside it.
bool IsPlainEntryName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string::npos;
}

}  // namespace

std::vector<PortEntry> ListPortEntries(const fs::path& base, const fs::path& devFolder) {
    const fs::path folder = base / "dosdevices";
    switch (LookAtFolder(folder)) {
        case Folder::Absent:
            return FallbackPortEntries(SystemSerialDevices(devFolder), TryOpenDevice);
        case Folder::Unusable:
            return {};
        case Folder::Listable:
            break;
    }
    std::vector<PortEntry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsListedPortName(name)) entries.push_back({name, DeviceOfEntry(folder, name)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const PortEntry& a, const PortEntry& b) { return NaturalLess(a.Name, b.Name); });
    return entries;
}

std::string ResolvePortName(const std::string& name, const fs::path& base,
                            const fs::path& devFolder) {
    // The system calls stop at the first NUL; such a name would open a
    // different device than the one it spells.
    if (name.empty() || name.find('\0') != std::string::npos) return {};
    if (name.front() == '/') return name;
    const fs::path folder = base / "dosdevices";
    switch (LookAtFolder(folder)) {
        case Folder::Absent:
            return FallbackDevice(name, SystemSerialDevices(devFolder));
        case Folder::Unusable:
            return {};
        case Folder::Listable:
            break;
    }
    if (!IsPlainEntryName(name)) return {};
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(folder / name, ec))) return {};
    return DeviceOfEntry(folder, name);
}

std::vector<PortEntry> ListPortEntries(const fs::path& base) {
    return ListPortEntries(base, "/dev");
}

std::string ResolvePortName(const std::string& name, const fs::path& base) {
    return ResolvePortName(name, base, "/dev");
}
