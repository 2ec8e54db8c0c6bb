#pragma once
// A log as numbers (window/LogReader.h fills it): a time for each row and, for
// each column of values, one number per row. It is read once and then only
// looked at: the viewer's curves, cursor and scales come from here.
//
// The rows keep the order of the file. Where the time runs backwards (the
// clock was put back), the rows after it form a new run and the jump is
// kept: the time axis the viewer draws on (the "axis time") carries on from
// the row before the jump instead of going back, so that it never decreases
// (the rows on both sides of a jump share one place on it), while the times
// of day shown stay those written.
//
// How a viewer uses it: ReadLogFile (window/LogReader.h) fills a table, whose
// LogFault and LogSkip it words in its own language; a LogIndex
// (window/LogExtremes.h) is made for each table opened. For each picture: the
// span on view, for each chosen column DecimateLogColumn and LogPolylines
// (window/LogEnvelope.h), its Marks, and for the legend the column's range
// over the span, LogIndex::Of(c).Over(RowsIn(span)); a line at the AxisTime of
// each jump; axis labels from WrittenTimeAt, with LogTimeOfDay and, when
// SpansMidnight, LogDate (window/LogTime.h). A cursor is RowAt, and the value
// there Values[row] and Cell(row). A column's Code is the code as written,
// Printable(CodeEn) of its definition in database.ini.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "window/LogTime.h"

// What a field of a value column held.
enum class LogCell : std::uint8_t {
    Number,         // a finite number
    Gap,            // nothing: the tool leaves a slot empty whose selection was refused
    NotANumber,     // NAN
    PlusInfinity,   // INF
    MinusInfinity,  // -INF
};

// Rows are counted in 32 bits: far more than any log may have (LogReader.h).
using LogRow = std::uint32_t;

struct LogColumn {
    std::string Heading;  // the header's field, "NMOT [rpm]"
    std::string Code;     // "NMOT": the heading without its unit
    std::string Unit;     // "rpm", empty when the heading names none
    // One value per row: the number, +-infinity for INF and -INF, and a NaN
    // both for NAN and for a gap (Cell tells them apart).
    std::vector<double> Values;
    // The rows without a finite value, whatever they held, ascending: a
    // curve is broken there.
    std::vector<LogRow> Missing;
    // Of those, the rows that held NAN, INF and -INF, ascending each: the
    // marked values, shown where they are.
    std::array<std::vector<LogRow>, 3> Marked;

    static constexpr std::size_t MarkIndex(LogCell cell) {
        return static_cast<std::size_t>(cell) - static_cast<std::size_t>(LogCell::NotANumber);
    }
    LogCell Cell(LogRow row) const;
};

// Where the time of the log went back: Row is the first row after it.
struct LogJump {
    LogRow Row = 0;
    LogMillis Before = 0;  // the written time of the row before
    LogMillis After = 0;   // the written time of Row, earlier than Before
};

// The lowest and highest finite value of a column over some rows.
struct LogRange {
    double Low = 0.0;
    double High = 0.0;
    bool operator==(const LogRange&) const = default;
};

// A stretch of the time axis, [From, To) in axis time.
struct LogSpan {
    LogMillis From = 0;
    LogMillis To = 0;
};

// The rows [First, Last) of a span.
struct LogRows {
    LogRow First = 0;
    LogRow Last = 0;
    bool Empty() const { return First >= Last; }
};

class LogTable {
public:
    std::size_t Rows() const { return axis_.size(); }
    const std::vector<LogColumn>& Columns() const { return columns_; }
    const std::vector<LogJump>& Jumps() const { return jumps_; }

    // A row's place on the time axis, and its time as written.
    LogMillis AxisTime(LogRow row) const { return axis_[row]; }
    const std::vector<LogMillis>& AxisTimes() const { return axis_; }
    LogMillis WrittenTime(LogRow row) const { return axis_[row] - ShiftOfRow(row); }
    // The written time at a place of the axis, for labelling it: a place
    // where a jump sits belongs to the run before it.
    LogMillis WrittenTimeAt(LogMillis axisTime) const;
    // The whole log on the axis: from its first row to just after its last.
    LogSpan Whole() const;
    // Whether the written times fall on more than one day, so that the axis
    // labels need the date.
    bool SpansMidnight() const { return firstDay_ != lastDay_; }

    // The rows whose axis time lies in the span.
    LogRows RowsIn(LogSpan span) const;
    // The row for a cursor at an axis time: the last row at or before it or
    // the first row after it, whichever is nearer, the former when both are as
    // near; the first or last row for a time outside the log, none in a log
    // without rows. The rows on both sides of a jump share an axis time: a
    // cursor left of it stands on the row before the jump, one on it or right
    // of it on the row after.
    std::optional<LogRow> RowAt(LogMillis axisTime) const;

    // Filling, for the reader: the columns first, then row by row.
    void SetColumns(std::vector<LogColumn> columns);
    void Reserve(std::size_t rows);
    // A row: its written time, and one value and cell per column.
    void AddRow(LogMillis written, const double* values, const LogCell* cells);

private:
    LogMillis ShiftOfRow(LogRow row) const;

    std::vector<LogColumn> columns_;
    std::vector<LogMillis> axis_;
    std::vector<LogJump> jumps_;
    // The axis time minus the written time of each run after a jump.
    std::vector<LogMillis> shifts_;
    LogMillis shift_ = 0;  // that of the run being filled
    std::int64_t firstDay_ = 0, lastDay_ = 0;
};
