#include "platform/UserPlaces.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

// An environment variable that is set and not empty, as the shell's ${NAME:-}.
const char* Setting(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

std::filesystem::path HomeFolder() {
    if (const char* home = Setting("HOME")) return home;
    // A session without HOME (a service, sudo -H less): the password database's.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir)
        return found->pw_dir;
    throw std::runtime_error("No folder for the user's own files: HOME is not set.");
}

}  // namespace

std::filesystem::path UserDataFolder() {
    // A relative XDG_DATA_HOME is invalid and to be ignored (XDG base directories).
    const char* dataHome = Setting("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/') return std::filesystem::path(dataHome) / "vmxdiag";
    return HomeFolder() / ".local" / "share" / "vmxdiag";
}

std::filesystem::path SampleDefinitionFile() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = program.parent_path();
    if (folder.filename() == "bin")
        return folder.parent_path() / "share" / "vmxdiag" / "database.ini";
    return folder / "database.ini";
}

bool UserReadsRussian() {
    const char* locale = Setting("LC_ALL");
    if (!locale) locale = Setting("LC_MESSAGES");
    if (!locale) locale = Setting("LANG");
    return locale && std::string_view(locale).starts_with("ru");
}

std::string UserDataFolderInWords() {
    return "~/.local/share/vmxdiag";
}
