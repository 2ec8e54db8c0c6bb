#include "platform/UserPlaces.h"

#include <windows.h>

#include <shlobj.h>

#include <stdexcept>
#include <string>

#include "platform/win32/SystemErrorText.h"

std::filesystem::path UserDataFolder() {
    PWSTR folder = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder);
    std::filesystem::path path;
    if (SUCCEEDED(result)) path = folder;
    ::CoTaskMemFree(folder);
    if (path.empty())
        throw std::runtime_error("No folder for the user's own files: " +
                                 SystemErrorText(static_cast<DWORD>(result)) + ".");
    return path / L"vmxdiag";
}

std::filesystem::path SampleDefinitionFile() {
    // The module's path may be longer than MAX_PATH; the buffer grows until it fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);
    }
    return std::filesystem::path(name).parent_path() / L"database.ini";
}

bool UserReadsRussian() {
    return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_RUSSIAN;
}

std::string UserDataFolderInWords() {
    return "%LOCALAPPDATA%\\vmxdiag";
}
