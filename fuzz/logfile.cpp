// Any bytes as a CSV log: reading must not fault; read in pieces of any size
// it comes out as read whole; a table it keeps is consistent (a value and a
// cell for every row, the rows without a value listed, the axis never going
// back, each jump where the written time went back); and its columns decimate
// to at most four points a pixel column, each holding the extremes of its rows.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "window/LogEnvelope.h"
#include "window/LogReader.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool SameValue(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

void CheckSame(const LogReader& a, const LogTable& x, const LogReader& b, const LogTable& y) {
    Check(a.Fault().has_value() == b.Fault().has_value());
    if (a.Fault()) {
        Check(a.Fault()->What == b.Fault()->What && a.Fault()->Line == b.Fault()->Line &&
              a.Fault()->Excerpt == b.Fault()->Excerpt);
        return;
    }
    Check(a.Skipped() == b.Skipped());
    Check(a.FirstSkip().has_value() == b.FirstSkip().has_value());
    if (a.FirstSkip())
        Check(a.FirstSkip()->What == b.FirstSkip()->What &&
              a.FirstSkip()->Line == b.FirstSkip()->Line &&
              a.FirstSkip()->Field == b.FirstSkip()->Field);
    Check(x.Rows() == y.Rows() && x.Columns().size() == y.Columns().size());
    for (LogRow row = 0; row < x.Rows(); ++row) Check(x.AxisTime(row) == y.AxisTime(row));
    for (std::size_t c = 0; c < x.Columns().size(); ++c) {
        const LogColumn& p = x.Columns()[c];
        const LogColumn& q = y.Columns()[c];
        Check(p.Heading == q.Heading && p.Missing == q.Missing && p.Marked == q.Marked);
        for (LogRow row = 0; row < x.Rows(); ++row) Check(SameValue(p.Values[row], q.Values[row]));
    }
}

void CheckTable(const LogTable& table) {
    for (LogRow row = 1; row < table.Rows(); ++row) {
        Check(table.AxisTime(row) >= table.AxisTime(row - 1));
        const bool back = table.WrittenTime(row) < table.WrittenTime(row - 1);
        const auto& jumps = table.Jumps();
        const bool jump = std::any_of(jumps.begin(), jumps.end(), [&](const LogJump& j) {
            return j.Row == row && j.Before == table.WrittenTime(row - 1) &&
                   j.After == table.WrittenTime(row);
        });
        Check(back == jump);
    }
    for (const LogColumn& column : table.Columns()) {
        Check(column.Values.size() == table.Rows());
        std::vector<LogRow> missing;
        for (LogRow row = 0; row < table.Rows(); ++row) {
            const LogCell cell = column.Cell(row);
            Check((cell == LogCell::Number) == std::isfinite(column.Values[row]));
            if (cell != LogCell::Number) missing.push_back(row);
        }
        Check(missing == column.Missing);
    }
}

void CheckDrawing(const LogTable& table, int pixels) {
    LogIndex index(table);
    const LogSpan whole = table.Whole();
    for (std::size_t c = 0; c < std::min<std::size_t>(table.Columns().size(), 4); ++c) {
        const LogColumn& column = table.Columns()[c];
        const LogEnvelope envelope = DecimateLogColumn(table, c, index.Of(c), whole, pixels);
        Check(envelope.Columns.size() <= static_cast<std::size_t>(pixels));
        std::size_t points = 0;
        for (const auto& piece : LogPolylines(envelope, {0, 0, 100, -1, 1})) points += piece.size();
        Check(points <= 4 * static_cast<std::size_t>(pixels) + 2);
        // Every finite value lies within the envelope of its pixel column.
        std::size_t at = 0;
        for (LogRow row = 0; row < table.Rows(); ++row) {
            const double value = column.Values[row];
            if (!std::isfinite(value)) continue;
            // The last pixel column that begins at or before the row.
            const std::int64_t offset = table.AxisTime(row) - whole.From;
            const std::int64_t width = whole.To - whole.From;
            const int x = static_cast<int>(((offset + 1) * pixels + width - 1) / width - 1);
            while (at < envelope.Columns.size() && envelope.Columns[at].X < x) ++at;
            Check(at < envelope.Columns.size() && envelope.Columns[at].X == x);
            Check(envelope.Columns[at].Low <= value && value <= envelope.Columns[at].High);
        }
        if (table.Rows() > 0) {
            const auto range = index.Of(c).Over(table.RowsIn(whole));
            Check(range.has_value() == (column.Missing.size() < table.Rows()));
        }
    }
    if (table.Rows() > 0) {
        Check(table.RowAt(whole.From - 1) == 0u);
        Check(table.RowAt(whole.To) == table.Rows() - 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // A low limit, so that refusing a file of too many rows is reached too.
    constexpr std::size_t MostRows = 200;

    LogTable whole;
    LogReader reader(whole, MostRows);
    reader.Take(text);
    reader.Finish();
    if (reader.Fault()) {
        Check(reader.Fault()->Line >= 1 && whole.Rows() == 0 && whole.Columns().empty());
        for (const char c : reader.Fault()->Excerpt)
            Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    } else {
        CheckTable(whole);
        CheckDrawing(whole, size > 0 ? 1 + data[0] % 97 : 1);
    }

    // In pieces whose sizes the text's own bytes choose.
    LogTable pieces;
    LogReader piecemeal(pieces, MostRows);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = 1 + static_cast<std::uint8_t>(text[at]) % 61;
        piecemeal.Take(text.substr(at, length));
        at += length;
    }
    piecemeal.Finish();
    CheckSame(reader, whole, piecemeal, pieces);
    return 0;
}
