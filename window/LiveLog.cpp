#include "window/LiveLog.h"

#include "platform/FolderMaking.h"
#include "platform/LocalTime.h"
#include "platform/WritableFile.h"

namespace {

std::string FileStem(std::chrono::system_clock::time_point now, int set) {
    return LocalTimeText(std::chrono::system_clock::to_time_t(now), "%Y-%m-%d_%H%M%S") + "_set" +
           std::to_string(set);
}

CsvStyle StyleFor(const std::string& decimalSeparator) {
    if (decimalSeparator == ",") return {';', ',', true};
    return {',', '.', true};
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
    if (const std::string trouble = MakeFolder(logs); !trouble.empty()) {
        writer_.Refuse(trouble);
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
