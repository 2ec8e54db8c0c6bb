#include "serial/win32/PortListing.h"

#include <algorithm>
#include <string_view>

#include "serial/PortNames.h"

namespace {

// A machine with many devices has a longer list than the first buffer holds;
// the list is asked for again in a larger one rather than taken as empty.
constexpr DWORD FirstListSize = 65535;
constexpr DWORD LargestListSize = 16u << 20;

std::vector<std::string> ListNtDevices(const PortListingCalls& calls) {
    std::vector<std::string> names;
    std::string list;
    DWORD length = 0;
    for (DWORD size = FirstListSize;; size *= 2) {
        list.assign(size, '\0');
        length = calls.QueryDosDeviceA(nullptr, list.data(), size);
        if (length != 0) break;
        if (calls.GetLastError() != ERROR_INSUFFICIENT_BUFFER || size > LargestListSize / 2)
            return names;
    }
    // Zero-terminated names, ending with an empty one; never past what was filled.
    std::string_view rest(list.data(), std::min<std::size_t>(length, list.size()));
    while (!rest.empty() && rest.front() != '\0') {
        const std::string_view name = rest.substr(0, rest.find('\0'));
        if (IsListedPortName(name)) names.emplace_back(name);
        rest.remove_prefix(std::min(rest.size(), name.size() + 1));
    }
    return names;
}

std::vector<std::string> TryComOneToEight(const PortListingCalls& calls) {
    std::vector<std::string> names;
    for (int i = 1; i <= 8; ++i) {
        const std::string name = "COM" + std::to_string(i);
        const HANDLE handle = calls.CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                                nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            calls.CloseHandle(handle);
            names.push_back(name);
            continue;
        }
        const DWORD error = calls.GetLastError();
        if (error == ERROR_ACCESS_DENIED || error == ERROR_GEN_FAILURE) names.push_back(name);
    }
    return names;
}

}  // namespace

const PortListingCalls& SystemPortListingCalls() {
    static const PortListingCalls calls{::GetVersionExA, ::QueryDosDeviceA, ::CreateFileA,
                                        ::CloseHandle, ::GetLastError};
    return calls;
}

std::vector<std::string> ListComPorts(const PortListingCalls& calls) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (calls.GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT)
        return ListNtDevices(calls);
    return TryComOneToEight(calls);
}
