#pragma once
// A file written a piece at a time, each piece handed to the system at once,
// so that a full disk or a medium pulled out loses no more than the piece
// under way. The first failure closes the file for good and keeps the reason.

#include <cstdio>
#include <string>
#include <string_view>

class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter() { Close(); }
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Takes over a file open for writing (CreateRegularFile's), closing the
    // one before and forgetting its failure.
    void Adopt(std::FILE* file);
    // Writes `text` and hands it to the system. False when the file is not
    // open or the write failed.
    bool Write(std::string_view text);
    // Closes; false when handing over what was still held, or the close, failed.
    bool Close();
    // No file is written, for `reason` (found before one was opened).
    void Refuse(std::string reason);

    bool IsOpen() const { return file_ != nullptr; }
    // Why no file is written; empty while all is well.
    const std::string& Failure() const { return failure_; }

private:
    bool Fail();

    std::FILE* file_ = nullptr;
    std::string failure_;
};
