#include "window/LogTable.h"

#include <algorithm>
#include <cmath>

LogCell LogColumn::Cell(LogRow row) const {
    const double value = Values[row];
    if (std::isfinite(value)) return LogCell::Number;
    if (std::isinf(value)) return value > 0 ? LogCell::PlusInfinity : LogCell::MinusInfinity;
    const auto& nans = Marked[MarkIndex(LogCell::NotANumber)];
    return std::binary_search(nans.begin(), nans.end(), row) ? LogCell::NotANumber : LogCell::Gap;
}

LogMillis LogTable::ShiftOfRow(LogRow row) const {
    const auto after = std::upper_bound(jumps_.begin(), jumps_.end(), row,
                                        [](LogRow r, const LogJump& jump) { return r < jump.Row; });
    return after == jumps_.begin() ? 0
                                   : shifts_[static_cast<std::size_t>(after - jumps_.begin()) - 1];
}

LogMillis LogTable::WrittenTimeAt(LogMillis axisTime) const {
    // The jumps before the place: those whose axis time is earlier than it.
    const auto after = std::partition_point(jumps_.begin(), jumps_.end(), [&](const LogJump& jump) {
        return axis_[jump.Row] < axisTime;
    });
    const std::size_t runs = static_cast<std::size_t>(after - jumps_.begin());
    return axisTime - (runs == 0 ? 0 : shifts_[runs - 1]);
}

LogSpan LogTable::Whole() const {
    if (axis_.empty()) return {};
    return {axis_.front(), axis_.back() + 1};
}

LogRows LogTable::RowsIn(LogSpan span) const {
    const auto first = std::lower_bound(axis_.begin(), axis_.end(), span.From);
    const auto last = std::lower_bound(first, axis_.end(), std::max(span.From, span.To));
    return {static_cast<LogRow>(first - axis_.begin()), static_cast<LogRow>(last - axis_.begin())};
}

std::optional<LogRow> LogTable::RowAt(LogMillis axisTime) const {
    if (axis_.empty()) return {};
    const auto after = std::upper_bound(axis_.begin(), axis_.end(), axisTime);
    if (after == axis_.begin()) return 0;
    const auto before = after - 1;
    if (after != axis_.end() && *after - axisTime < axisTime - *before)
        return static_cast<LogRow>(after - axis_.begin());
    return static_cast<LogRow>(before - axis_.begin());
}

void LogTable::SetColumns(std::vector<LogColumn> columns) {
    columns_ = std::move(columns);
}

void LogTable::Reserve(std::size_t rows) {
    axis_.reserve(rows);
    for (LogColumn& column : columns_) column.Values.reserve(rows);
}

void LogTable::AddRow(LogMillis written, const double* values, const LogCell* cells) {
    const auto row = static_cast<LogRow>(axis_.size());
    const std::int64_t day = LogDay(written);
    if (axis_.empty()) {
        firstDay_ = lastDay_ = day;
    } else {
        firstDay_ = std::min(firstDay_, day);
        lastDay_ = std::max(lastDay_, day);
        const LogMillis before = axis_.back() - shift_;
        if (written < before) {
            // The new run starts where the old one ended on the axis.
            shift_ = axis_.back() - written;
            jumps_.push_back({row, before, written});
            shifts_.push_back(shift_);
        }
    }
    axis_.push_back(written + shift_);
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        LogColumn& column = columns_[c];
        column.Values.push_back(values[c]);
        if (cells[c] == LogCell::Number) continue;
        column.Missing.push_back(row);
        if (cells[c] != LogCell::Gap) column.Marked[LogColumn::MarkIndex(cells[c])].push_back(row);
    }
}
