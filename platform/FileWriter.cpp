#include "platform/FileWriter.h"

#include <cerrno>
#include <system_error>
#include <utility>

void FileWriter::Adopt(std::FILE* file) {
    Close();
    failure_.clear();
    file_ = file;
}

bool FileWriter::Write(std::string_view text) {
    if (!file_) return false;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0)
        return Fail();
    return true;
}

bool FileWriter::Close() {
    if (!file_) return true;
    errno = 0;
    const bool written = std::fflush(file_) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (written && closed) return true;
    if (!written) errno = flushError;
    Fail();
    return false;
}

void FileWriter::Refuse(std::string reason) {
    Close();
    failure_ = std::move(reason);
}

bool FileWriter::Fail() {
    const int error = errno;
    failure_ = error != 0 ? std::generic_category().message(error) : "the system refused it";
    if (file_) {
        // What is still held would fail the same way; it is dropped with the file.
        std::fclose(file_);
        file_ = nullptr;
    }
    return false;
}
