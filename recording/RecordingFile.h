#pragma once
// The file a line recording goes into. It is written only when its owner says
// so, a block at a time; the first failure (a full disk, a medium pulled out)
// closes it for good and keeps the reason. It never stops the session that
// records.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/FileWriter.h"

class RecordingFile {
public:
    // Creates the file and puts the format line in it. Only a regular file
    // is written, never one the rules of RecordingTarget.h refuse; one that
    // exists already is emptied only when `replace` is set. False, with the
    // reason in Failure(), when it cannot be created.
    bool Create(const std::string& path, bool replace = false,
                const std::filesystem::path& definitionFile = {});
    // Writes `text` and hands it to the system. False when the file is not open
    // or the write failed; a failure closes the file, which then ends with the
    // last block written whole, and keeps its reason.
    bool Write(std::string_view text) { return writer_.Write(text); }
    // Closes; false when writing what was still held, or the close, failed.
    bool Close() { return writer_.Close(); }

    bool IsOpen() const { return writer_.IsOpen(); }
    // Why the file was not created or stopped being written; empty while all is well.
    const std::string& Failure() const { return writer_.Failure(); }

private:
    FileWriter writer_;
};
