#include "platform/WritableFile.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <string>

#include "platform/win32/SystemErrorText.h"

namespace {

FileCreate Failure(DWORD error) {
    return {FileCreateOutcome::Failed, nullptr, SystemErrorText(error)};
}

// \\.\NAME names a device of the system's namespace (COM1, a volume, a disk)
// whatever NAME is.
bool InDeviceNamespace(const std::wstring& name) {
    return name.size() >= 4 && (name[0] == L'\\' || name[0] == L'/') &&
           (name[1] == L'\\' || name[1] == L'/') && name[2] == L'.' &&
           (name[3] == L'\\' || name[3] == L'/');
}

}  // namespace

FileCreate CreateRegularFile(const std::filesystem::path& path, bool replace) {
    const std::wstring name = path.wstring();
    if (InDeviceNamespace(name)) return {FileCreateOutcome::NotRegular, nullptr, {}};
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return {FileCreateOutcome::Failed, nullptr, "Is a directory"};
        if (!replace) return {FileCreateOutcome::Exists, nullptr, {}};
    }
    // Others may read the recording while it grows.
    const HANDLE file =
        ::CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                      replace ? OPEN_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS) return {FileCreateOutcome::Exists, nullptr, {}};
        return Failure(error);
    }
    // A pipe or a device (CON, NUL, a serial port) reached under another name.
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        return {FileCreateOutcome::NotRegular, nullptr, {}};
    }
    if (replace && !::SetEndOfFile(file)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(file);
        return Failure(error);
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(file);
        return Failure(ERROR_INVALID_HANDLE);
    }
    std::FILE* stream = ::_fdopen(fd, "wb");
    if (!stream) {
        ::_close(fd);  // closes the handle too
        return Failure(ERROR_INVALID_HANDLE);
    }
    return {FileCreateOutcome::Created, stream, {}};
}
