#pragma once
// A Windows error code as text for the user, in the words the other
// platforms use for the usual cases.

#include <windows.h>

#include <string>
#include <system_error>

inline std::string SystemErrorText(DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return "No such file or directory";
    if (error == ERROR_ACCESS_DENIED) return "Permission denied";
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return "File exists";
    std::string reason = std::system_category().message(static_cast<int>(error));
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}
