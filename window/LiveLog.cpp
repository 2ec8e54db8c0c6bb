#include "window/LiveLog.h"

#include <cerrno>
#include <ctime>
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
    failure_.clear();
    rows_ = 0;
    const std::filesystem::path logs = folder / "logs";
    std::error_code error;
    std::filesystem::create_directories(logs, error);
    if (error) {
        failure_ = error.message();
        return false;
    }
    const std::string stem = FileStem(now, set + 1);
    // A name taken already (two logs within a second) gets a number.
    for (int copy = 1; copy <= 100; ++copy) {
        path_ = logs / (stem + (copy == 1 ? "" : "_" + std::to_string(copy)) + ".csv");
        FileCreate created = CreateRegularFile(path_, false);
        if (created.Outcome == FileCreateOutcome::Exists) continue;
        if (created.Outcome != FileCreateOutcome::Created) {
            failure_ = created.Outcome == FileCreateOutcome::NotRegular
                           ? "a file of that name is there and is no regular file"
                           : created.Reason;
            return false;
        }
        file_ = created.File;
        const std::string header = CsvHeader(rows, CsvStyle{});
        errno = 0;
        if (std::fwrite(header.data(), 1, header.size(), file_) != header.size() ||
            std::fflush(file_) != 0)
            return Fail();
        return true;
    }
    failure_ = "every name of this second is taken";
    return false;
}

bool LiveLog::Write(const ParameterSets& sets, std::chrono::system_clock::time_point now) {
    if (!file_) return false;
    const std::string row = CsvRow(sets, CsvTime(now), CsvStyle{});
    errno = 0;
    // Handed to the system at once: a pulled-out stick loses no more than the
    // row under way.
    if (std::fwrite(row.data(), 1, row.size(), file_) != row.size() || std::fflush(file_) != 0)
        return Fail();
    ++rows_;
    return true;
}

void LiveLog::Stop() {
    if (!file_) return;
    errno = 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed && failure_.empty())
        failure_ = std::generic_category().message(errno != 0 ? errno : EIO);
}

bool LiveLog::Fail() {
    const int error = errno;
    failure_ = error != 0 ? std::generic_category().message(error) : "the system refused it";
    std::fclose(file_);
    file_ = nullptr;
    return false;
}
