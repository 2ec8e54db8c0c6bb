// Port names from anywhere (the drop-down, the command line, a dosdevices/
// folder someone filled): the natural order must stay a strict weak order, or
// sorting is undefined, and resolving a name must never leave the folder.
//
// The input is split at the first two 0xFF bytes into three names.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "serial/PortNames.h"
#include "serial/PortNamespace.h"

namespace fs = std::filesystem;

namespace {

// One fixed folder, reused by every run and by parallel jobs: libFuzzer may
// end the process without running exit handlers, so a fresh one would leak.
const fs::path& Base() {
    static const fs::path base = [] {
        const fs::path folder = fs::temp_directory_path() / "vmx-fuzz-port-names";
        std::error_code ec;
        fs::create_directories(folder / "dosdevices", ec);
        fs::create_symlink("/dev/null", folder / "dosdevices" / "COM1", ec);
        fs::create_symlink("ttyS1", folder / "dosdevices" / "COM12", ec);
        if (fs::read_symlink(folder / "dosdevices" / "COM12", ec) != "ttyS1") std::abort();
        return folder;
    }();
    return base;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckResolves(const std::string& name) {
    const std::string device = ResolvePortName(name, Base());
    if (device.empty()) return;
    Check(name.find('\0') == std::string::npos);
    if (name.front() == '/') {
        Check(device == name);
        return;
    }
    // Only the two links exist: anything else that resolves escaped the folder.
    Check(device == "/dev/null" || device == (Base() / "dosdevices" / "ttyS1").string());
    Check(name == "COM1" || name == "COM12");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view names[3];
    for (int i = 0; i < 2; ++i) {
        const std::size_t cut = input.find('\xFF');
        names[i] = input.substr(0, cut);
        input = cut == std::string_view::npos ? std::string_view{} : input.substr(cut + 1);
    }
    names[2] = input;
    const auto& [a, b, c] = names;

    Check(!NaturalLess(a, a));
    Check(!(NaturalLess(a, b) && NaturalLess(b, a)));
    Check(NaturalLess(a, b) || NaturalLess(b, a) || a == b);  // strict and total
    if (NaturalLess(a, b) && NaturalLess(b, c)) Check(NaturalLess(a, c));
    if (IsListedPortName(a)) Check(a.substr(0, 3) == "COM" && a[3] >= '1' && a[3] <= '8');

    for (const std::string_view name : names) CheckResolves(std::string(name));
    return 0;
}
