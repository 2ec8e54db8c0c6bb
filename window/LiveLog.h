#pragma once
// The window's log of a parameter page: its values as the CSV the command-line
// tool writes (presentation/LiveCsv.h), one row for each good read, into a new
// file of the folder logs/ of the working folder, named by the local date,
// time and set: logs/2026-12-08_101530_set1.csv (a name taken already gets
// "_2", "_3", ...). The log is for the spreadsheet of the user's regional
// settings: with a decimal comma, ';' between the fields and ',' before the
// decimals (a spreadsheet set so reads ',' as the decimal), otherwise ',' and
// a point; a byte-order mark always, so that the Cyrillic headers are read as
// UTF-8. A write that fails closes the file for good and keeps the reason.

#include <chrono>
#include <filesystem>
#include <string>

#include "database/ParameterSets.h"
#include "platform/FileWriter.h"
#include "presentation/LiveCsv.h"

class LiveLog {
public:
    // Makes logs/ in `folder` and a new file in it for set `set` (0 or 1, named
    // 1 or 2), begun at `now`, and writes the header of the set's slots; the
    // values are written with `decimalSeparator`, the user's. False, with the
    // reason in Failure(), when no file could be made.
    bool Start(const std::filesystem::path& folder, int set,
               const ParameterSets::SlotDefinitions& rows,
               std::chrono::system_clock::time_point now,
               const std::string& decimalSeparator = ".");
    // One row of the current values, taken at `now`. False when the write
    // failed: the file is then closed, the reason in Failure().
    bool Write(const ParameterSets& sets, std::chrono::system_clock::time_point now);
    void Stop() { writer_.Close(); }

    bool IsOpen() const { return writer_.IsOpen(); }
    int Rows() const { return rows_; }
    const std::filesystem::path& Path() const { return path_; }
    const std::string& Failure() const { return writer_.Failure(); }

private:
    FileWriter writer_;
    CsvStyle style_;
    std::filesystem::path path_;
    int rows_ = 0;
};
