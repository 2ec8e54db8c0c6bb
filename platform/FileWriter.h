#pragma once
// A file written a piece at a time (a row of a log, a block of recording
// lines), each piece handed to the system at once. A piece that fails part
// way (a full disk, a file-size limit) is cut off again, so that the file
// ends with the last whole piece and no reader takes a torn row for data. The
// first failure closes the file for good and keeps the reason.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter() { Close(); }
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Takes over an empty file just opened for writing (CreateRegularFile's),
    // closing the one before and forgetting its failure.
    void Adopt(std::FILE* file);
    // Writes `text` and hands it to the system. False when the file is not
    // open or the write failed; the file then ends where it did before.
    bool Write(std::string_view text);
    // Closes; false when the close failed.
    bool Close();
    // No file is written, for `reason` (found before one was opened).
    void Refuse(std::string reason);

    bool IsOpen() const { return file_ != nullptr; }
    // Why no file is written; empty while all is well.
    const std::string& Failure() const { return failure_; }

private:
    bool Fail(int error);

    std::FILE* file_ = nullptr;
    std::uint64_t written_ = 0;  // the bytes of the whole pieces written
    std::string failure_;
};
