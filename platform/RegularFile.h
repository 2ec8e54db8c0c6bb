#pragma once
// Reading a file that must be an ordinary one. The open never blocks and
// never takes a terminal as the controlling one, so a FIFO or a device named by
// mistake cannot hold the program; anything but a regular file is refused.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

enum class FileReadOutcome { Read, Missing, Failed, TooLarge };

struct FileRead {
    FileReadOutcome Outcome = FileReadOutcome::Failed;
    std::string Reason;      // why it was not read, as the system words it
    std::uint64_t Size = 0;  // the file's size when it was opened (TooLarge: how large)
};

// Fills bytes with the whole file, or leaves it empty when the file was not read.
FileRead ReadRegularFile(const std::filesystem::path& path, std::string& bytes);

// Hands the file to `take` a piece at a time, in order, until its end or until
// `take` returns false (which still counts as Read). A file of more than
// `most` bytes is refused before a byte of it is read.
FileRead ReadRegularFileInPieces(const std::filesystem::path& path, std::uint64_t most,
                                 const std::function<bool(std::string_view)>& take);
