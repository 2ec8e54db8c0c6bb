#include "recording/RecordingTarget.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Upper(x) == Upper(y); });
}

bool IsDeviceDigit(std::string_view digit) {
    if (digit.size() == 1) return digit[0] >= '0' && digit[0] <= '9';
    // ¹ ² ³ in UTF-8.
    return digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

}  // namespace

bool IsWindowsDeviceName(std::string_view fileName) {
    // Windows looks at the name up to its first dot, without the blanks before it.
    std::string_view stem = fileName.substr(0, fileName.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    static constexpr std::array<std::string_view, 4> Plain{"CON", "PRN", "AUX", "NUL"};
    for (std::string_view device : Plain)
        if (SameIgnoringCase(stem, device)) return true;
    if (stem.size() < 4) return false;
    const std::string_view prefix = stem.substr(0, 3);
    return (SameIgnoringCase(prefix, "COM") || SameIgnoringCase(prefix, "LPT")) &&
           IsDeviceDigit(stem.substr(3));
}

std::optional<std::string> RecordingPathRefusal(const std::filesystem::path& path,
                                                const std::filesystem::path& definitionFile) {
    const std::string name = path.filename().string();
    if (SameIgnoringCase(name, "database.ini"))
        return "a file named database.ini would be read as the definition file";
    if (IsWindowsDeviceName(name))
        return "the name stands for a device on Windows (as NUL, COM1 or COM1.rec do), not a file";
    std::error_code error;
    if (!definitionFile.empty() && std::filesystem::equivalent(path, definitionFile, error))
        return "it is the definition file " + definitionFile.filename().string();
    return std::nullopt;
}
