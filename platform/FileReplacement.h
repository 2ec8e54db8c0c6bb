#pragma once
// Putting new bytes in place of a whole file, all or nothing.

#include <filesystem>
#include <string>
#include <string_view>

// Replaces the regular file at target with bytes, or creates it: a failure
// part way leaves the old file whole. False, with the file as it was and the
// system's words in `reason`, when the target is no regular file, may not be
// written, or the disk refused.
bool ReplaceWholeFile(const std::filesystem::path& target, std::string_view bytes,
                      std::string& reason);
