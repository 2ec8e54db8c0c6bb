#include "report/ReportFile.h"

#include <system_error>
#include <utility>

#include "platform/FileReplacement.h"
#include "platform/FolderMaking.h"
#include "platform/LocalTime.h"
#include "recording/RecordingTarget.h"

ReportFile::~ReportFile() {
    if (!written_) {
        writer_.Close();
        RemoveIfNew();
    }
}

bool ReportFile::Create(const std::filesystem::path& path, bool replace,
                        const std::filesystem::path& definitionFile) {
    return Open(path, replace, definitionFile) == FileCreateOutcome::Created;
}

bool ReportFile::CreateInFolder(const std::filesystem::path& folder,
                                std::chrono::system_clock::time_point time) {
    const std::filesystem::path reports = folder / "reports";
    if (std::string trouble = MakeFolder(reports); !trouble.empty()) {
        path_ = reports;
        failure_ = std::move(trouble);
        return false;
    }
    const std::string stem =
        LocalTimeText(std::chrono::system_clock::to_time_t(time), "%Y-%m-%d_%H%M%S");
    // Two reports within a second get a number.
    for (int copy = 1; copy <= 100; ++copy) {
        const auto path =
            reports / (stem + (copy == 1 ? "" : "_" + std::to_string(copy)) + ".html");
        const FileCreateOutcome outcome = Open(path, false, {});
        if (outcome != FileCreateOutcome::Exists) return outcome == FileCreateOutcome::Created;
    }
    failure_ = "every name of this second is taken";
    return false;
}

bool ReportFile::Write(std::string_view text) {
    bool written = false;
    if (replacing_) {
        written = ReplaceWholeFile(path_, text, failure_);
    } else {
        written = writer_.Write(text) && writer_.Close();
        if (!written) {
            writer_.Close();
            failure_ = writer_.Failure().empty() ? "the file is not open" : writer_.Failure();
            RemoveIfNew();
        }
    }
    written_ = written;
    return written;
}

FileCreateOutcome ReportFile::Open(const std::filesystem::path& path, bool replace,
                                   const std::filesystem::path& definitionFile) {
    path_ = path;
    failure_.clear();
    madeNew_ = replacing_ = false;
    if (const auto refusal = RecordingPathRefusal(path, definitionFile))
        return Refuse(FileCreateOutcome::Failed, *refusal);
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (replace && std::filesystem::is_regular_file(status)) {
        replacing_ = true;
        return FileCreateOutcome::Created;
    }
    FileCreate created = CreateRegularFile(path, false);
    switch (created.Outcome) {
        case FileCreateOutcome::Created:
            writer_.Adopt(created.File);
            madeNew_ = true;
            break;
        case FileCreateOutcome::Exists:
            return Refuse(created.Outcome, "a file of that name exists (--force replaces it)");
        case FileCreateOutcome::NotRegular:
            return Refuse(created.Outcome,
                          "it is no regular file (a device, a terminal or a FIFO)");
        case FileCreateOutcome::Failed:
            return Refuse(created.Outcome, created.Reason);
    }
    return created.Outcome;
}

FileCreateOutcome ReportFile::Refuse(FileCreateOutcome outcome, std::string reason) {
    failure_ = std::move(reason);
    return outcome;
}

void ReportFile::RemoveIfNew() {
    if (!madeNew_) return;
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
    madeNew_ = false;
}
