#include "recording/RecordingFile.h"

#include <cerrno>
#include <system_error>

#include "platform/WritableFile.h"
#include "recording/LineRecording.h"
#include "recording/RecordingTarget.h"

bool RecordingFile::Create(const std::string& path, bool replace,
                           const std::filesystem::path& definitionFile) {
    Close();
    failure_.clear();
    if (const auto refusal = RecordingPathRefusal(path, definitionFile)) {
        failure_ = *refusal;
        return false;
    }
    FileCreate created = CreateRegularFile(path, replace);
    switch (created.Outcome) {
        case FileCreateOutcome::Created:
            break;
        case FileCreateOutcome::Exists:
            failure_ = "a file of that name exists (--force replaces it)";
            return false;
        case FileCreateOutcome::NotRegular:
            failure_ = "it is no regular file (a device, a terminal or a FIFO)";
            return false;
        case FileCreateOutcome::Failed:
            failure_ = created.Reason;
            return false;
    }
    file_ = created.File;
    errno = 0;
    const std::string header = RecordingHeader();
    if (std::fwrite(header.data(), 1, header.size(), file_) != header.size()) return Fail();
    return true;
}

bool RecordingFile::Write(std::string_view text) {
    if (!file_) return false;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0)
        return Fail();
    return true;
}

bool RecordingFile::Close() {
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

bool RecordingFile::Fail() {
    const int error = errno;
    failure_ = error != 0 ? std::generic_category().message(error) : "the system refused it";
    if (file_) {
        // What is still held would fail the same way; it is dropped with the file.
        std::fclose(file_);
        file_ = nullptr;
    }
    return false;
}
