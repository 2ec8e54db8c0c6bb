#pragma once
// Paths as text for the user.

#include <filesystem>
#include <string>

// A path in UTF-8, as a terminal or a window takes it on every system (Windows
// keeps paths in UTF-16, and its narrow form is the ANSI code page's).
inline std::string PrintablePath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}
