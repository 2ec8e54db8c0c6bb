#include "database/ProfileFile.h"

#include <system_error>

#include "platform/FileReplacement.h"
#include "platform/RegularFile.h"

namespace {

// The file a path names once its symbolic links are followed; the last one
// may dangle, the file is then created where it points.
std::filesystem::path FollowLinks(std::filesystem::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!std::filesystem::is_symlink(path, error)) return path;
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) return path;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

}  // namespace

ProfileFile::ProfileFile(std::filesystem::path path) : path_(std::move(path)) {
    if (path_.empty()) return;
    std::string bytes;
    const FileRead read = ReadRegularFile(path_, bytes);
    if (read.Outcome == FileReadOutcome::Read) text_ = ProfileText(std::move(bytes));
    if (read.Outcome == FileReadOutcome::Failed) readFailure_ = read.Reason;
    missing_ = read.Outcome == FileReadOutcome::Missing;
}

std::string ProfileFile::Read(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
    auto value = text_.Read(section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

bool ProfileFile::Write(std::string_view section, std::string_view key,
                        std::string_view value) noexcept {
    writeFailure_.clear();
    if (path_.empty()) return Fail("no file is bound");
    if (!ProfileText::CanStore(section, key, value))
        return Fail("a name or value with a line break cannot be stored");
    try {
        const std::filesystem::path target = FollowLinks(path_);
        std::string bytes;
        // A file that is there but cannot be read must not be replaced by one
        // holding only this key.
        const FileRead read = ReadRegularFile(target, bytes);
        if (read.Outcome == FileReadOutcome::Failed) return Fail(read.Reason);
        ProfileText current(std::move(bytes));
        std::string reason;
        if (current.Set(section, key, value) && !ReplaceWholeFile(target, current.Bytes(), reason))
            return Fail(reason);
        text_ = std::move(current);
        return true;
    } catch (...) {
        // Out of memory, or no source of temporary names.
        return Fail("the program ran out of resources");
    }
}

bool ProfileFile::Fail(std::string_view reason) noexcept {
    try {
        writeFailure_ = reason;
    } catch (...) {
        // Without memory for the words, the failure itself is still said.
        writeFailure_.clear();
    }
    return false;
}
