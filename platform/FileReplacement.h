#pragma once
// Putting new bytes in place of a whole file, all or nothing.

#include <filesystem>
#include <string>
#include <string_view>

struct FileReplace {
    bool Replaced = false;
    std::string Reason;  // why not, as the system words it
};

// Replaces the regular file at target with bytes, or creates it: a failure
// part way leaves the old file whole. Not Replaced, with the file as it was,
// when the target is no regular file, may not be written, or the disk refused.
FileReplace ReplaceWholeFile(const std::filesystem::path& target, std::string_view bytes);
