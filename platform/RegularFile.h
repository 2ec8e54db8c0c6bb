#pragma once
// Reading a whole file that must be an ordinary one. The open never blocks and
// never takes a terminal as the controlling one, so a FIFO or a device named by
// mistake cannot hold the program; anything but a regular file is refused.

#include <filesystem>
#include <string>

enum class FileReadOutcome { Read, Missing, Failed };

struct FileRead {
    FileReadOutcome Outcome = FileReadOutcome::Failed;
    std::string Reason;  // why it was not read, as the system words it
};

// Fills bytes with the whole file, or leaves it empty when the file was not read.
FileRead ReadRegularFile(const std::filesystem::path& path, std::string& bytes);
