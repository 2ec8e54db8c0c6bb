#include "window/LogEnvelope.h"

#include <algorithm>
#include <cmath>

namespace {

using Axis = std::vector<LogMillis>;

// The first row in [from, limit) whose axis time is at least `time`, or
// limit. The search starts at `guess` and widens from there in doubling
// steps, so that rows at an even pace are found in a probe or two.
LogRow FirstFrom(const Axis& axis, LogRow from, LogRow limit, LogMillis time, LogRow guess) {
    guess = std::clamp(guess, from, limit);
    LogRow low = from, high = limit;  // the answer is in [low, high]
    if (guess < limit && axis[guess] < time) {
        low = guess + 1;
        for (LogRow step = 1; low < limit; step *= 2) {
            const LogRow probe = low + std::min(step, limit - low) - 1;
            if (axis[probe] >= time) {
                high = probe;
                break;
            }
            low = probe + 1;
        }
    } else {
        high = guess;
        for (LogRow step = 1; high > from; step *= 2) {
            const LogRow probe = high - std::min(step, high - from);
            if (axis[probe] < time) {
                low = probe + 1;
                break;
            }
            high = probe;
        }
    }
    return static_cast<LogRow>(std::lower_bound(axis.begin() + low, axis.begin() + high, time) -
                               axis.begin());
}

// The rows without a finite value are kept ascending; a run of them that
// follow each other is where each one's row minus its place is the same.
long long RunKey(const std::vector<LogRow>& missing, std::size_t at) {
    return static_cast<long long>(missing[at]) - static_cast<long long>(at);
}

// The first row at or after `row` with a finite value (there is one before the end).
LogRow FirstFinite(const std::vector<LogRow>& missing, LogRow row) {
    const auto found = std::lower_bound(missing.begin(), missing.end(), row);
    if (found == missing.end() || *found != row) return row;
    const std::size_t at = static_cast<std::size_t>(found - missing.begin());
    const long long key = RunKey(missing, at);
    std::size_t low = at, high = missing.size();  // the run ends in (low, high]
    while (high - low > 1) {
        const std::size_t middle = low + (high - low) / 2;
        (RunKey(missing, middle) == key ? low : high) = middle;
    }
    return missing[low] + 1;
}

// The last row at or before `row` with a finite value (there is one).
LogRow LastFinite(const std::vector<LogRow>& missing, LogRow row) {
    const auto found = std::lower_bound(missing.begin(), missing.end(), row);
    if (found == missing.end() || *found != row) return row;
    const std::size_t at = static_cast<std::size_t>(found - missing.begin());
    const long long key = RunKey(missing, at);
    std::size_t low = 0, high = at;  // the run begins in [low, high]
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (RunKey(missing, middle) < key)
            low = middle + 1;
        else
            high = middle;
    }
    return missing[low] - 1;
}

// Whether no row between `after` and `before` (both left out) lacks a finite value.
bool NoneMissingBetween(const std::vector<LogRow>& missing, LogRow after, LogRow before) {
    const auto next = std::upper_bound(missing.begin(), missing.end(), after);
    return next == missing.end() || *next >= before;
}

bool AnyIn(const std::vector<LogRow>& rows, LogRow first, LogRow last) {
    const auto found = std::lower_bound(rows.begin(), rows.end(), first);
    return found != rows.end() && *found < last;
}

// The value at `time` on the line between rows `before` and `before` + 1.
double Between(const Axis& axis, const std::vector<double>& values, LogRow before, LogMillis time) {
    const double share = static_cast<double>(time - axis[before]) /
                         static_cast<double>(axis[before + 1] - axis[before]);
    return values[before] + (values[before + 1] - values[before]) * share;
}

}  // namespace

LogEnvelope DecimateLogColumn(const LogTable& table, std::size_t column,
                              const LogExtremes& extremes, LogSpan span, int pixels) {
    LogEnvelope envelope;
    envelope.Pixels = pixels;
    if (pixels <= 0 || span.To <= span.From || table.Rows() == 0) return envelope;
    const LogColumn& data = table.Columns()[column];
    const std::vector<double>& values = data.Values;
    const Axis& axis = table.AxisTimes();
    const auto finite = [&](LogRow row) { return std::isfinite(values[row]); };
    const LogRows rows = table.RowsIn(span);
    const LogRow count = static_cast<LogRow>(table.Rows());

    // Joined to the rows beyond the edges where both rows at an edge have values.
    if (rows.First > 0 && rows.First < count && finite(rows.First - 1) && finite(rows.First))
        envelope.Enter = Between(axis, values, rows.First - 1, span.From);
    if (rows.Last > 0 && rows.Last < count && finite(rows.Last - 1) && finite(rows.Last))
        envelope.Leave = Between(axis, values, rows.Last - 1, span.To);

    const bool whole = data.Missing.empty();
    // Pixel column x ends at From + width * (x + 1) / pixels, stepped without a division.
    const LogMillis width = span.To - span.From;
    const LogMillis stride = width / pixels, strideRest = width % pixels;
    LogMillis until = span.From, rest = 0;
    // The mean pace of the rows, for the first guess of each pixel column's
    // end; none where the rows share one axis time.
    const LogMillis spread = rows.Empty() ? 0 : axis[rows.Last - 1] - axis[rows.First];
    const double rowsPerMilli =
        spread > 0 ? (rows.Last - rows.First - 1) / static_cast<double>(spread) : 0.0;
    envelope.Columns.reserve(
        std::min<std::size_t>(static_cast<std::size_t>(pixels), rows.Last - rows.First));
    std::optional<LogRow> lastBefore;  // the last finite row of the pixel column before
    LogRow row = rows.First;
    for (int x = 0; x < pixels && row < rows.Last; ++x) {
        until += stride;
        rest += strideRest;
        if (rest >= pixels) {
            ++until;
            rest -= pixels;
        }
        LogRow end = rows.Last;
        if (x + 1 < pixels) {
            const double ahead = static_cast<double>(until - axis[row]) * rowsPerMilli;
            const LogRow guess = row + (ahead > 0 ? static_cast<LogRow>(std::min(ahead, 1e9)) : 0);
            end = FirstFrom(axis, row, rows.Last, until, guess);
        }
        if (end == row) continue;
        if (!whole) {
            for (const LogCell mark :
                 {LogCell::NotANumber, LogCell::PlusInfinity, LogCell::MinusInfinity})
                if (AnyIn(data.Marked[LogColumn::MarkIndex(mark)], row, end))
                    envelope.Marks.push_back({x, mark});
        }
        if (const auto range = extremes.Over({row, end})) {
            const LogRow first = whole ? row : FirstFinite(data.Missing, row);
            const LogRow last = whole ? end - 1 : LastFinite(data.Missing, end - 1);
            const bool joins = lastBefore
                                   ? whole || NoneMissingBetween(data.Missing, *lastBefore, first)
                                   : envelope.Enter.has_value();
            envelope.Columns.push_back(
                {x, values[first], range->Low, range->High, values[last], joins});
            lastBefore = last;
        }
        row = end;
    }
    return envelope;
}

std::vector<std::vector<TrendPixel>> LogPolylines(const LogEnvelope& envelope,
                                                  const LogPlotArea& area) {
    // Rounded to the nearest pixel, clamped to the area.
    const bool flat = !(area.High > area.Low);
    const double scale = flat ? 0.0 : (area.Bottom - area.Top) / (area.High - area.Low);
    const auto y = [&](double value) {
        if (flat) return (area.Top + area.Bottom) / 2;
        const double below = std::clamp((area.High - value) * scale, 0.0,
                                        static_cast<double>(area.Bottom - area.Top));
        return area.Top + static_cast<int>(below + 0.5);
    };
    std::vector<std::vector<TrendPixel>> pieces;
    std::vector<TrendPixel> piece;
    piece.reserve(4 * envelope.Columns.size() + 2);
    const auto add = [&](int x, double value) {
        const TrendPixel pixel{area.Left + x, y(value)};
        if (piece.empty() || piece.back() != pixel) piece.push_back(pixel);
    };
    const auto end = [&] {
        if (!piece.empty()) pieces.push_back(std::move(piece));
        piece.clear();
    };
    if (envelope.Enter) add(0, *envelope.Enter);
    for (const LogPixelColumn& column : envelope.Columns) {
        if (!column.JoinsPrevious) end();
        // Down to the low and up to the high before the last, or the other
        // way round for a falling stretch: the stroke covers both.
        const bool rising = column.First <= column.Last;
        add(column.X, column.First);
        add(column.X, rising ? column.Low : column.High);
        add(column.X, rising ? column.High : column.Low);
        add(column.X, column.Last);
    }
    if (envelope.Leave) add(envelope.Pixels, *envelope.Leave);
    end();
    return pieces;
}
