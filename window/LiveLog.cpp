#include "window/LiveLog.h"

#include <system_error>

#include "database/LiveCsv.h"
#include "platform/LocalTime.h"
#include "platform/WritableFile.h"

namespace {

std::string FileStem(std::chrono::system_clock::time_point now, int set) {
    return LocalTimeText(std::chrono::system_clock::to_time_t(now), "%Y-%m-%d_%H%M%S") + "_set" +
           std::to_string(set);
}

}  // namespace

bool LiveLog::Start(const std::filesystem::path& folder, int set,
                    const ParameterSets::SlotDefinitions& rows,
                    std::chrono::system_clock::time_point now) {
    Stop();
    rows_ = 0;
    const std::filesystem::path logs = folder / "logs";
    std::error_code error;
    std::filesystem::create_directories(logs, error);
    if (error) {
        writer_.Refuse(error.message());
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
                               ? "a file of that name is there and is no regular file"
                               : created.Reason);
            return false;
        }
        writer_.Adopt(created.File);
        return writer_.Write(CsvHeader(rows, CsvStyle{}));
    }
    writer_.Refuse("every name of this second is taken");
    return false;
}

// Each row is handed to the system at once: a pulled-out stick loses no more
// than the row under way.
bool LiveLog::Write(const ParameterSets& sets, std::chrono::system_clock::time_point now) {
    if (!writer_.Write(CsvRow(sets, CsvTime(now), CsvStyle{}))) return false;
    ++rows_;
    return true;
}
