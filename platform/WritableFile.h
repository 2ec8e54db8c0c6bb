#pragma once
// Creating a file to write a log into that must be an ordinary one. Writing
// into a device, a terminal or a FIFO would put the bytes somewhere else (onto
// the ECU's own line, into another user's terminal) or hold the program in
// its open, so anything but a regular file is refused before a byte is
// written. The open never blocks and never takes a terminal as the
// controlling one.

#include <cstdio>
#include <filesystem>
#include <string>

enum class FileCreateOutcome { Created, Exists, NotRegular, Failed };

struct FileCreate {
    FileCreateOutcome Outcome = FileCreateOutcome::Failed;
    std::FILE* File = nullptr;  // open for writing, empty, when Created; the caller closes it
    std::string Reason;         // why it failed, as the system words it (Failed)
};

// Creates the file at path, empty, for writing. A file already there is left
// alone (Exists) unless `replace`, which empties it when it is a regular one.
FileCreate CreateRegularFile(const std::filesystem::path& path, bool replace);
