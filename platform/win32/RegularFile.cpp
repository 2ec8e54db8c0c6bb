#include "platform/RegularFile.h"

#include <windows.h>

#include "platform/win32/SystemErrorText.h"

namespace {

FileRead Failure(DWORD error) {
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? FileReadOutcome::Missing : FileReadOutcome::Failed, SystemErrorText(error)};
}

}  // namespace

FileRead ReadRegularFileInPieces(const std::filesystem::path& path, std::uint64_t most,
                                 const std::function<bool(std::string_view)>& take) {
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
        result.Size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
        if (result.Size > most) result.Outcome = FileReadOutcome::TooLarge;
        char buffer[65536];
        while (result.Outcome == FileReadOutcome::Read) {
            DWORD got = 0;
            if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
                result = Failure(::GetLastError());
            } else if (got == 0 || !take(std::string_view(buffer, got))) {
                break;
            }
        }
    }
    ::CloseHandle(file);
    return result;
}
