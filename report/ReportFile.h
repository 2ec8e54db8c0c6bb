#pragma once
// The file a report is written into: always a new regular file, or one the
// user asked to replace, never a device, a terminal, a FIFO, the definition
// file or a name Windows takes for a device (the rules of a line recording,
// recording/RecordingTarget.h). A report is written whole or not at all.

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/FileWriter.h"
#include "platform/WritableFile.h"

class ReportFile {
public:
    ReportFile() = default;
    // A file made here and never written is removed.
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    // Makes the file at `path`, empty, or with `replace` takes one that is
    // there, which keeps its contents until Write puts the report in its
    // place whole. False, with the reason in Failure(), when neither can be.
    // Called before the ECU is asked, so that a name that will not do stops
    // a run before anything is sent.
    bool Create(const std::filesystem::path& path, bool replace,
                const std::filesystem::path& definitionFile = {});
    // Makes a new file reports/YYYY-MM-DD_HHMMSS.html (local time) in
    // `folder`, reports/ made when missing; a name taken already gets "_2",
    // "_3", ... False, with the reason in Failure(), when none can be made.
    bool CreateInFolder(const std::filesystem::path& folder,
                        std::chrono::system_clock::time_point time);

    // Writes the whole report and closes the file. False, with the reason in
    // Failure(), when the write or the close failed: a file made new is then
    // removed and a file replaced keeps what it held, so that no cut report
    // is left behind.
    bool Write(std::string_view text);

    const std::filesystem::path& Path() const { return path_; }
    const std::string& Failure() const { return failure_; }

private:
    FileCreateOutcome Open(const std::filesystem::path& path, bool replace,
                           const std::filesystem::path& definitionFile);
    FileCreateOutcome Refuse(FileCreateOutcome outcome, std::string reason);
    void RemoveIfNew();

    FileWriter writer_;
    std::filesystem::path path_;
    std::string failure_;
    bool madeNew_ = false;    // made by Create, to be removed unless written
    bool replacing_ = false;  // a file that is there, replaced whole by Write
    bool written_ = false;
};
