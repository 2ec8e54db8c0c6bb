#pragma once
// Reading a CSV log that the tool wrote (presentation/LiveCsv.h: the window's F6
// logs, `vmxdiag-cli live --format csv` and `--format csv-semicolon`) into a
// LogTable, as a stream: each line is judged as it comes and becomes numbers
// at once, so memory grows with the rows kept and never with a line, and a
// file that is no log is refused at its first line.
//
// The first line is the header, after a UTF-8 byte-order mark or without one:
// a field "time" and one field per column of values, named by its code and
// unit ("NMOT [rpm]"), in any order. The separator that sets "time" apart as
// a field of its own tells the dialect: ',' between fields with a decimal
// point, or ';' between fields with a decimal comma (where a point is read as
// well). Columns are known by the header, never by their place, so reordered
// columns and more or fewer of them than the tool writes are read alike.
//
// Each later line is a row: the time as written (window/LogTime.h), then a
// number per column; an empty field is a gap in its column, NAN, INF and -INF
// are marked values. A row that cannot be read (a field count unlike the
// header's, a time that is no time, a field that is no number, a line far
// longer than any row, or a last line without its line end, which may have
// been cut in the middle of a number) is skipped and counted, and the first
// one is kept to be named. Blank lines are passed over.
//
// A header without rows is a log without rows: it opens, with nothing to
// plot. A file without a byte (or with a byte-order mark alone) is empty,
// which no log is.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "window/LogTable.h"

// The most rows a log may have: enough for a week of polling at the fastest
// tick, and a bound on the memory a file can make the viewer take. A file
// with more value columns than the tool's sixteen may have as many fewer rows.
inline constexpr std::size_t MaxLogRows = 5'000'000;
inline constexpr std::size_t LogColumnsOfTheTool = 16;

// Why a file is no log; nothing of it is kept.
struct LogFault {
    enum class Kind {
        Empty,        // no byte, or a byte-order mark alone
        NotAHeader,   // the first line has no field "time", or no other field
        TooManyRows,  // more rows than the limit, which MostRows says
    };
    Kind What = Kind::Empty;
    std::size_t Line = 1;  // the line that shows it, counted from 1
    std::string Excerpt;   // the start of that line, UTF-8 safe to show
    std::size_t MostRows = 0;
};

// Why a row was skipped.
struct LogSkip {
    enum class Kind {
        Fields,     // more or fewer fields than the header, or a quote out of place
        Time,       // the time field is no time
        Number,     // a value field is no number
        TooLong,    // the line is longer than any row
        NoLineEnd,  // the last line has no line end: perhaps cut short
    };
    Kind What = Kind::Fields;
    std::size_t Line = 0;   // counted from 1
    std::size_t Field = 0;  // Time, Number: which field, counted from 1; Fields: how many came
};

class LogReader {
public:
    // Longer than any header or row the tool writes.
    static constexpr std::size_t MaxLineBytes = 65536;

    // Reads into `table`, which is emptied first; `mostRows` is MaxLogRows
    // but for tests.
    explicit LogReader(LogTable& table, std::size_t mostRows = MaxLogRows);

    // How many bytes the log has, when known beforehand: its rows are then
    // made room for once, from the length of the first.
    void ExpectBytes(std::uint64_t bytes) { expectedBytes_ = bytes; }
    // The next bytes. False once the text is found to be no log (see Fault);
    // what comes after is not looked at.
    bool Take(std::string_view bytes);
    // The end of the text.
    void Finish();

    const std::optional<LogFault>& Fault() const { return fault_; }
    // The rows skipped, and the first of them.
    std::size_t Skipped() const { return skipped_; }
    const std::optional<LogSkip>& FirstSkip() const { return firstSkip_; }
    // The separator and decimal sign the header showed; ',' and '.' until then.
    char Separator() const { return separator_; }

private:
    bool Line(std::string_view line);
    bool Header(std::string_view line);
    void Row(std::string_view line);
    // Counts a data line; false, refusing the file, past the most rows.
    bool CountRow();
    void Skip(LogSkip::Kind what, std::size_t field = 0);
    bool Refuse(LogFault::Kind what, std::string_view line);

    LogTable& table_;
    std::size_t mostRows_;
    std::uint64_t expectedBytes_ = 0;
    std::uint64_t bytesSeen_ = 0;
    std::string pending_;      // the start of a line whose end has not come yet
    bool discarding_ = false;  // in a row too long to keep, until its line end
    std::size_t lines_ = 0;    // lines begun
    std::size_t rows_ = 0;     // data lines met, read or skipped
    bool headerRead_ = false;
    bool anyLine_ = false;
    char separator_ = ',';
    std::size_t timeField_ = 0;
    std::size_t fieldCount_ = 0;
    std::size_t rowLimit_ = 0;
    std::size_t skipped_ = 0;
    std::optional<LogSkip> firstSkip_;
    std::optional<LogFault> fault_;
    // One row's fields and numbers, kept between rows.
    std::vector<std::string_view> fields_;
    std::vector<double> values_;
    std::vector<LogCell> cells_;
};

struct LogFileRead {
    std::string Unreadable;         // why the file could not be read; empty when it was
    std::optional<LogFault> Fault;  // why it is no log
    std::size_t Skipped = 0;        // rows skipped
    std::optional<LogSkip> FirstSkip;
};

// Reads the log at `path`, a regular file; the table is empty unless it is a log.
LogFileRead ReadLogFile(const std::filesystem::path& path, LogTable& table,
                        std::size_t mostRows = MaxLogRows);
