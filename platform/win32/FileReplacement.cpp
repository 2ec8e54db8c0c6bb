#include "platform/FileReplacement.h"

#include <windows.h>

#include <algorithm>
#include <random>
#include <string>

#include "platform/win32/SystemErrorText.h"

namespace {

// The reason of the call that failed, as the system words it.
FileReplace Failed(DWORD error = ::GetLastError()) {
    return {false, SystemErrorText(error)};
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

}  // namespace

// A temporary file in the same folder, with the old file's attributes (hidden,
// archive, ...), reaches the disk and is moved over it in one rename. Owner and
// permission bits have no counterpart to carry over: a new file takes its
// access list from the folder, as the old one did.
FileReplace ReplaceWholeFile(const std::filesystem::path& target, std::string_view bytes) {
    const std::wstring targetName = target.wstring();
    const DWORD attributes = ::GetFileAttributesW(targetName.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (!existed && ::GetLastError() != ERROR_FILE_NOT_FOUND) return Failed();
    if (existed && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {false, "Is a directory"};
    if (existed && (attributes & FILE_ATTRIBUTE_DEVICE)) return {false, "not a regular file"};
    if (existed && ((attributes & FILE_ATTRIBUTE_READONLY) || !MayBeWritten(targetName)))
        return Failed(ERROR_ACCESS_DENIED);
    const DWORD kept =
        existed ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)
                : 0;

    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::random_device random;
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = (folder / ("." + target.filename().string() + "." + std::to_string(random())))
                        .wstring();
        file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             kept == 0 ? FILE_ATTRIBUTE_NORMAL : kept, nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) return Failed();
    }
    if (file == INVALID_HANDLE_VALUE) return Failed(ERROR_FILE_EXISTS);

    bool ok = WriteAll(file, bytes) && ::FlushFileBuffers(file);
    DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
    if (!::CloseHandle(file) && ok) {
        ok = false;
        error = ::GetLastError();
    }
    // The rename reaches the disk before the call returns.
    if (ok && !::MoveFileExW(temporary.c_str(), targetName.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = ::GetLastError();
    }
    if (!ok) {
        ::DeleteFileW(temporary.c_str());
        return Failed(error);
    }
    return {true, {}};
}
