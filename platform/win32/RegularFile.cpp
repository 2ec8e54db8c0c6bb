#include "platform/RegularFile.h"

#include <windows.h>

#include <system_error>

namespace {

FileRead Failure(DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return {FileReadOutcome::Missing, "No such file or directory"};
    // The words of the other platforms for the usual cases; the system's own otherwise.
    if (error == ERROR_ACCESS_DENIED) return {FileReadOutcome::Failed, "Permission denied"};
    std::string reason = std::system_category().message(static_cast<int>(error));
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    return {FileReadOutcome::Failed, reason};
}

}  // namespace

FileRead ReadRegularFile(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
    // Backup semantics open a folder too, so that it is named as one. Others
    // may go on reading, writing and renaming the file meanwhile.
    const HANDLE file = ::CreateFileW(path.wstring().c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Failure(::GetLastError());
    FileRead result{FileReadOutcome::Read, ""};
    BY_HANDLE_FILE_INFORMATION info{};
    // A pipe or a device (CON, NUL, a serial port) could hold the program.
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        result = {FileReadOutcome::Failed, "not a regular file"};
    } else if (!::GetFileInformationByHandle(file, &info)) {
        result = Failure(::GetLastError());
    } else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        result = {FileReadOutcome::Failed, "Is a directory"};
    } else {
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
                result = Failure(::GetLastError());
                break;
            }
            if (got == 0) break;
            bytes.append(buffer, got);
        }
    }
    ::CloseHandle(file);
    if (result.Outcome != FileReadOutcome::Read) bytes.clear();
    return result;
}
