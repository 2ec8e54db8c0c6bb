#include "platform/FileReplacement.h"

#include <windows.h>

#include <algorithm>
#include <random>
#include <string>

#include "platform/win32/SystemErrorText.h"

namespace {

// False with the reason of the call that failed, as the system words it.
bool Failed(std::string& reason, DWORD error = ::GetLastError()) {
    reason = SystemErrorText(error);
    return false;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A file that may not be written (the read-only attribute, or its access list)
// must stay as it is, although the rename would need only the folder's right.
bool MayBeWritten(const std::wstring& name) {
    const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

// A new file beside target holding bytes, on the disk, with the given
// attributes. Its name, or an empty one with the error.
std::wstring WriteBeside(const std::filesystem::path& target, std::string_view bytes,
                         DWORD attributes, DWORD& error) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::random_device random;
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = (folder / ("." + target.filename().string() + "." + std::to_string(random())))
                        .wstring();
        file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes, nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
            error = ::GetLastError();
            return {};
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        error = ERROR_FILE_EXISTS;
        return {};
    }
    bool ok = WriteAll(file, bytes) && ::FlushFileBuffers(file);
    error = ok ? ERROR_SUCCESS : ::GetLastError();
    if (!::CloseHandle(file) && ok) {
        ok = false;
        error = ::GetLastError();
    }
    if (!ok) {
        ::DeleteFileW(temporary.c_str());
        return {};
    }
    return temporary;
}

}  // namespace

// A temporary file in the same folder, with the old file's attributes (hidden,
// archive, ...), reaches the disk and is moved over it in one rename. Owner and
// permission bits have no counterpart to carry over: a new file takes its
// access list from the folder, as the old one did.
bool ReplaceWholeFile(const std::filesystem::path& target, std::string_view bytes,
                      std::string& reason) {
    const std::wstring targetName = target.wstring();
    const DWORD attributes = ::GetFileAttributesW(targetName.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (!existed && ::GetLastError() != ERROR_FILE_NOT_FOUND) return Failed(reason);
    if (existed && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        reason = "Is a directory";
        return false;
    }
    if (existed && (attributes & FILE_ATTRIBUTE_DEVICE)) {
        reason = "not a regular file";
        return false;
    }
    if (existed && ((attributes & FILE_ATTRIBUTE_READONLY) || !MayBeWritten(targetName)))
        return Failed(reason, ERROR_ACCESS_DENIED);
    const DWORD kept =
        existed ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)
                : 0;

    DWORD error = ERROR_SUCCESS;
    const std::wstring temporary = WriteBeside(target, bytes, kept, error);
    if (temporary.empty()) return Failed(reason, error);
    // The rename reaches the disk before the call returns.
    if (!::MoveFileExW(temporary.c_str(), targetName.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return Failed(reason, error);
    }
    return true;
}

// Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
bool PlaceNewFile(const std::filesystem::path& target, std::string_view bytes,
                  std::string& reason) {
    DWORD error = ERROR_SUCCESS;
    const std::wstring temporary = WriteBeside(target, bytes, 0, error);
    if (temporary.empty()) return Failed(reason, error);
    if (!::MoveFileExW(temporary.c_str(), target.wstring().c_str(), MOVEFILE_WRITE_THROUGH)) {
        error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        return Failed(reason, error);
    }
    return true;
}
