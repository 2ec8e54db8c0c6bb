#include "platform/FileWriter.h"

#include <cerrno>
#include <system_error>
#include <utility>

#include "platform/FileCut.h"

void FileWriter::Adopt(std::FILE* file) {
    Close();
    failure_.clear();
    file_ = file;
    written_ = 0;
    // Without a buffer of the stream's own, every piece reaches the system in
    // Write, and nothing is left over for the close to add after a cut.
    if (file_) std::setvbuf(file_, nullptr, _IONBF, 0);
}

bool FileWriter::Write(std::string_view text) {
    if (!file_) return false;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
        const int error = errno;
        // Where the system refuses even the cut, the reason of the write
        // still says why the file ends short.
        CutFile(file_, written_);
        return Fail(error);
    }
    written_ += text.size();
    return true;
}

bool FileWriter::Close() {
    if (!file_) return true;
    errno = 0;
    const bool closed = std::fclose(file_) == 0;
    const int error = errno;
    file_ = nullptr;
    return closed || Fail(error);
}

void FileWriter::Refuse(std::string reason) {
    Close();
    failure_ = std::move(reason);
}

bool FileWriter::Fail(int error) {
    failure_ = error != 0 ? std::generic_category().message(error) : "the system refused it";
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    return false;
}
