// A log's columns decimated for drawing: the extremes over any rows, the
// envelope of each pixel column against a scan of its rows, the points drawn
// against the rows, and where the curve breaks and joins.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "window/LogEnvelope.h"

namespace {

constexpr double Gap = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// A table of one column: a row every `step` ms from 0, or, `uneven`, some
// tens of ms either way and with an hour's pause halfway. A NaN is a gap,
// unless its row is in `nans`.
LogTable TableOf(const std::vector<double>& values, LogMillis step,
                 const std::vector<LogRow>& nans = {}, bool uneven = false) {
    LogTable table;
    table.SetColumns(std::vector<LogColumn>(1));
    for (std::size_t row = 0; row < values.size(); ++row) {
        const double value = values[row];
        LogCell cell = LogCell::Number;
        if (std::isinf(value)) cell = value > 0 ? LogCell::PlusInfinity : LogCell::MinusInfinity;
        if (std::isnan(value))
            cell = std::count(nans.begin(), nans.end(), row) ? LogCell::NotANumber : LogCell::Gap;
        LogMillis time = static_cast<LogMillis>(row) * step;
        if (uneven) time += (row * row) % 97 + (row >= values.size() / 2 ? 3'600'000 : 0);
        table.AddRow(time, &value, &cell);
    }
    return table;
}

// A series with gaps, NAN, INF and -INF among finite values.
std::vector<double> Rough(std::size_t rows, std::mt19937& random) {
    std::vector<double> values(rows);
    std::uniform_real_distribution<double> value(-1000, 1000);
    std::uniform_int_distribution<int> kind(0, 19);
    for (double& v : values) {
        const int k = kind(random);
        v = k == 0 ? Gap : k == 1 ? Inf : k == 2 ? -Inf : value(random);
    }
    return values;
}

std::optional<LogRange> Scan(const std::vector<double>& values, LogRow first, LogRow last) {
    std::optional<LogRange> range;
    for (LogRow row = first; row < last; ++row) {
        const double v = values[row];
        if (!std::isfinite(v)) continue;
        if (!range) range = LogRange{v, v};
        range->Low = std::min(range->Low, v);
        range->High = std::max(range->High, v);
    }
    return range;
}

std::size_t Points(const std::vector<std::vector<TrendPixel>>& pieces) {
    std::size_t points = 0;
    for (const auto& piece : pieces) points += piece.size();
    return points;
}

}  // namespace

TEST(LogExtremes, AgreeWithAScanOverAnyRows) {
    std::mt19937 random(26);
    for (const std::size_t rows : {0, 1, 63, 64, 65, 130, 1000, 5000}) {
        const std::vector<double> values = Rough(rows, random);
        const LogExtremes extremes(values);
        std::uniform_int_distribution<std::size_t> at(0, rows);
        for (int probe = 0; probe < 3000; ++probe) {
            auto first = static_cast<LogRow>(at(random)), last = static_cast<LogRow>(at(random));
            if (first > last) std::swap(first, last);
            ASSERT_EQ(extremes.Over({first, last}), Scan(values, first, last))
                << rows << " rows, " << first << " to " << last;
        }
    }
}

TEST(LogEnvelope, EachPixelColumnHoldsTheExtremesOfItsRows) {
    std::mt19937 random(8);
    std::vector<double> values = Rough(20000, random);
    // Long stretches without a finite value, and a NAN among them.
    std::fill(values.begin() + 3000, values.begin() + 3500, Gap);
    std::fill(values.begin() + 9000, values.begin() + 12000, Inf);
    const LogTable table = TableOf(values, 220, {3100, 7}, true);
    const LogColumn& column = table.Columns()[0];
    const LogExtremes extremes(column.Values);
    const LogMillis end = table.Whole().To;
    const LogSpan spans[] = {
        table.Whole(), {-5000, end + 5000}, {600'001, 900'003}, {1000, 1100}, {218, 1418}};
    for (const LogSpan span : spans) {
        for (const int pixels : {1, 7, 100, 800}) {
            SCOPED_TRACE(std::to_string(span.From) + " " + std::to_string(pixels));
            // The same made row by row: each row's pixel column found by the
            // boundaries, a pixel column joined when no row without a value
            // came since the last with one.
            LogEnvelope expected;
            bool broken = true;
            for (LogRow row = 0; row < table.Rows(); ++row) {
                const LogMillis t = table.AxisTime(row);
                const double v = values[row];
                if (t < span.From) broken = !std::isfinite(v);
                if (t < span.From || t >= span.To) continue;
                int x = 0;
                while (x + 1 < pixels && span.From + (span.To - span.From) * (x + 1) / pixels <= t)
                    ++x;
                const LogCell cell = column.Cell(row);
                if (cell != LogCell::Number && cell != LogCell::Gap &&
                    std::count(expected.Marks.begin(), expected.Marks.end(),
                               LogPixelMark{x, cell}) == 0)
                    expected.Marks.push_back({x, cell});
                if (!std::isfinite(v)) {
                    broken = true;
                } else if (expected.Columns.empty() || expected.Columns.back().X != x) {
                    expected.Columns.push_back({x, v, v, v, v, !broken});
                } else {
                    LogPixelColumn& last = expected.Columns.back();
                    last.Low = std::min(last.Low, v);
                    last.High = std::max(last.High, v);
                    last.Last = v;
                }
                if (std::isfinite(v)) broken = false;
            }
            std::sort(expected.Marks.begin(), expected.Marks.end(), [](auto& a, auto& b) {
                return std::pair{a.X, a.What} < std::pair{b.X, b.What};
            });
            const LogEnvelope envelope = DecimateLogColumn(table, 0, extremes, span, pixels);
            EXPECT_EQ(envelope.Columns, expected.Columns);
            EXPECT_EQ(envelope.Marks, expected.Marks);
        }
    }
}

TEST(LogEnvelope, PointsDrawnDoNotGrowWithTheRows) {
    // Eight hours of rows at 22 s, 2.2 s and 220 ms, drawn over 800 pixel columns.
    const LogMillis day = 8 * 3600 * 1000;
    std::vector<std::size_t> points;
    for (const LogMillis step : {22000, 2200, 220}) {
        std::vector<double> values(static_cast<std::size_t>(day / step));
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = std::sin(static_cast<double>(i) * 0.37) * 100 + (i % 1000 == 0 ? 900 : 0);
        const LogTable table = TableOf(values, step);
        const LogExtremes extremes(table.Columns()[0].Values);
        const LogEnvelope envelope = DecimateLogColumn(table, 0, extremes, table.Whole(), 800);
        EXPECT_LE(envelope.Columns.size(), 800u);
        const auto pieces = LogPolylines(envelope, {10, 0, 400, -100, 1000});
        EXPECT_EQ(pieces.size(), 1u);
        points.push_back(Points(pieces));
        // The spikes every thousand rows are all drawn.
        const auto top = std::count_if(envelope.Columns.begin(), envelope.Columns.end(),
                                       [](const LogPixelColumn& c) { return c.High >= 800; });
        EXPECT_EQ(static_cast<std::size_t>(top), (values.size() + 999) / 1000);
    }
    EXPECT_LE(points[1], 4u * 800);
    EXPECT_LE(points[2], 4u * 800);
    EXPECT_GE(points[1], 2u * 800);
}

TEST(LogEnvelope, BreaksAtRowsWithoutAValueAndJoinsAcrossTheEdges) {
    const LogTable table = TableOf({1, 2, Gap, 4, 5, Gap}, 1000);
    const LogExtremes extremes(table.Columns()[0].Values);
    const LogPlotArea area{100, 0, 100, 0, 10};

    const LogEnvelope whole = DecimateLogColumn(table, 0, extremes, {0, 5000}, 5);
    ASSERT_EQ(whole.Columns.size(), 4u);
    EXPECT_FALSE(whole.Enter || whole.Leave);
    EXPECT_EQ(whole.Columns[1].JoinsPrevious, true);
    EXPECT_EQ(whole.Columns[2].JoinsPrevious, false);
    EXPECT_EQ(whole.Columns[3].JoinsPrevious, true);
    const std::vector<std::vector<TrendPixel>> pieces{{{100, 90}, {101, 80}},
                                                      {{103, 60}, {104, 50}}};
    EXPECT_EQ(LogPolylines(whole, area), pieces);

    // Between two rows: one line from edge to edge, on the line between them.
    const LogEnvelope between = DecimateLogColumn(table, 0, extremes, {250, 750}, 10);
    EXPECT_TRUE(between.Columns.empty());
    EXPECT_EQ(between.Enter, 1.25);
    EXPECT_EQ(between.Leave, 1.75);
    EXPECT_EQ(LogPolylines(between, area),
              (std::vector<std::vector<TrendPixel>>{{{100, 88}, {110, 83}}}));

    // A gap just inside the left edge breaks it; the right edge joins row 4.
    const LogEnvelope edges = DecimateLogColumn(table, 0, extremes, {1500, 3500}, 2);
    EXPECT_FALSE(edges.Enter);
    EXPECT_EQ(edges.Leave, 4.5);
    ASSERT_EQ(edges.Columns.size(), 1u);
    EXPECT_EQ(edges.Columns[0].X, 1);
    // Rows that share one time (a clock put back) make one pixel column.
    const LogTable still = TableOf({3, 1, 2}, 0);
    EXPECT_EQ(
        DecimateLogColumn(still, 0, LogExtremes(still.Columns()[0].Values), {-1, 8}, 9).Columns,
        (std::vector<LogPixelColumn>{{1, 3, 1, 3, 2, false}}));
    // Values beyond the scale stay at its edges.
    EXPECT_EQ(LogPolylines(edges, {0, 10, 20, 0, 4}),
              (std::vector<std::vector<TrendPixel>>{{{1, 10}, {2, 10}}}));
}
