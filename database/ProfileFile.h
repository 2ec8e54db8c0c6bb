#pragma once
// A private-profile (INI) file on disk, bound to its path: read once into a
// ProfileText, and written one key at a time without disturbing the rest.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "database/ProfileText.h"

class ProfileFile {
public:
    // Binds the file and reads it. A missing or unreadable file reads as empty;
    // anything but a regular file counts as unreadable, and reading never blocks.
    // An empty path binds no file: nothing is read, and every Write fails.
    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }
    // Why the file could not be read at binding ("Is a directory", "Permission
    // denied", "not a regular file"); empty when it was read or is missing.
    const std::string& ReadFailure() const { return readFailure_; }
    // The file was not there at binding.
    bool Missing() const { return missing_; }
    const ProfileText& Text() const { return text_; }

    bool HasSection(std::string_view section) const { return text_.HasSection(section); }
    // The value as read at binding; nothing when the key is absent.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const {
        return text_.Read(section, key);
    }
    std::string Read(std::string_view section, std::string_view key,
                     std::string_view defaultValue) const;

    // Makes key of section read as value in the file as it is on disk now, so
    // that what others changed meanwhile stays. The new file replaces the old
    // one whole (temporary file, fsync, rename, through a symbolic link to its
    // target); a key that already holds value leaves the file untouched, and a
    // missing file is created. Anything but a regular file is never replaced.
    // False when it could not be done; the file is then as it was, and
    // WriteFailure() says why. Never throws.
    bool Write(std::string_view section, std::string_view key, std::string_view value) noexcept;
    // Why the last Write failed ("Is a directory", "Permission denied", "No
    // space left on device"); empty after one that succeeded.
    const std::string& WriteFailure() const { return writeFailure_; }

private:
    bool Fail(std::string_view reason) noexcept;

    std::filesystem::path path_;
    ProfileText text_;
    std::string readFailure_;
    std::string writeFailure_;
    bool missing_ = false;
};
