#include "platform/RegularFile.h"

#include <windows.h>

#include "platform/win32/SystemErrorText.h"

namespace {

FileRead Failure(DWORD error) {
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? FileReadOutcome::Missing : FileReadOutcome::Failed, SystemErrorText(error)};
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
