#pragma once
// Putting new bytes in place of a whole file, or into a new one, all or nothing.

#include <filesystem>
#include <string>
#include <string_view>

// Replaces the regular file at target with bytes, or creates it: a failure
// part way leaves the old file whole. False, with the file as it was and the
// system's words in `reason`, when the target is no regular file, may not be
// written, or the disk refused.
bool ReplaceWholeFile(const std::filesystem::path& target, std::string_view bytes,
                      std::string& reason);

// Creates the file at target with bytes, all or nothing, and never over
// anything already there: the bytes reach the disk under a temporary name in
// the same folder, which takes the target's name only while that name is free.
// False, with nothing left behind and the system's words in `reason` ("File
// exists" when the name is taken), when it could not be done.
bool PlaceNewFile(const std::filesystem::path& target, std::string_view bytes, std::string& reason);
