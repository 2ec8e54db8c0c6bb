#include "window/LiveLog.h"

#include <system_error>

#include "platform/LocalTime.h"
#include "platform/WritableFile.h"
#include "text/PathText.h"

namespace {

std::string FileStem(std::chrono::system_clock::time_point now, int set) {
    return LocalTimeText(std::chrono::system_clock::to_time_t(now), "%Y-%m-%d_%H%M%S") + "_set" +
           std::to_string(set);
}

CsvStyle StyleFor(const std::string& decimalSeparator) {
    if (decimalSeparator == ",") return {';', ',', true};
    return {',', '.', true};
}

// Why logs/ could not be made, when what stands in its place says it better
// than the system's "File exists": a link to nothing, a file.
std::string WhatIsThere(const std::filesystem::path& logs, const std::error_code& error) {
    std::error_code ignored;
    const auto there = std::filesystem::symlink_status(logs, ignored);
    if (std::filesystem::is_symlink(there)) {
        const std::filesystem::path target = std::filesystem::read_symlink(logs, ignored);
        const auto pointed = std::filesystem::status(logs, ignored);
        return "it is a link to " + PrintablePath(target) +
               (std::filesystem::exists(pointed) ? ", which is not a folder"
                                                 : ", which does not exist");
    }
    if (std::filesystem::exists(there) && !std::filesystem::is_directory(there))
        return "it is a file, not a folder";
    return error.message();
}
}  // namespace

bool LiveLog::Start(const std::filesystem::path& folder, int set,
                    const ParameterSets::SlotDefinitions& rows,
                    std::chrono::system_clock::time_point now,
                    const std::string& decimalSeparator) {
    Stop();
    rows_ = 0;
    style_ = StyleFor(decimalSeparator);
    const std::filesystem::path logs = folder / "logs";
    std::error_code error;
    std::filesystem::create_directories(logs, error);
    if (error) {
        writer_.Refuse(WhatIsThere(logs, error));
        return false;
    }
    const std::string stem = FileStem(now, set + 1);
    // A name taken already (two logs within a second) gets a number.
    for (int copy = 1; copy <= 100; ++copy) {
        path_ = logs / (stem + (copy == 1 ? "" : "_" + std::to_string(copy)) + ".csv");
        FileCreate created = CreateRegularFile(path_, false);
        if (created.Outcome == FileCreateOutcome::Exists) continue;
        if (created.Outcome != FileCreateOutcome::Created) {
            writer_.Refuse(created.Outcome == FileCreateOutcome::NotRegular
                               ? "a file of that name is there and is not a regular file"
                               : created.Reason);
            return false;
        }
        writer_.Adopt(created.File);
        return writer_.Write(CsvStart(style_) + CsvHeader(rows, style_));
    }
    writer_.Refuse("every name of this second is taken");
    return false;
}

// Each row is handed to the system at once: a pulled-out stick loses no more
// than the row under way.
bool LiveLog::Write(const ParameterSets& sets, std::chrono::system_clock::time_point now) {
    if (!writer_.Write(CsvRow(sets, CsvTime(now), style_))) return false;
    ++rows_;
    return true;
}
