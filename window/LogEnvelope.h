#pragma once
// A log's column decimated for drawing: a span of the time axis is laid over
// a number of pixel columns, and each pixel column keeps only what a curve
// through its rows shows at that width: the first, lowest, highest and last
// finite value. Every extreme of the rows stays in the picture, and the
// points drawn are at most four for each pixel column (and one at each edge),
// however many rows the span holds; the work is a few look-ups per pixel
// column (window/LogExtremes.h), so a whole day costs what a minute does.
//
// The curve is broken where a row holds no finite value (a gap, NAN, INF or
// -INF): two pixel columns are joined only when no such row lies between the
// last finite row of the one and the first of the other. A break between rows
// that share a pixel column does not show at that width; the marked values
// (NAN, INF, -INF) are therefore also given as marks, one of a kind per pixel
// column, so they show at any zoom.

#include <cstddef>
#include <optional>
#include <vector>

#include "window/LogExtremes.h"
#include "window/LogTable.h"
#include "window/TrendPicture.h"

// Pixel column X (0 to pixels - 1) holds the rows whose axis time lies in
// [From + W * X / pixels, From + W * (X + 1) / pixels), W = To - From.
struct LogPixelColumn {
    int X = 0;
    double First = 0.0, Low = 0.0, High = 0.0, Last = 0.0;
    // Joined by a line to the point before it: the last value of the pixel
    // column before (with values), or Enter for the first.
    bool JoinsPrevious = false;
    bool operator==(const LogPixelColumn&) const = default;
};

struct LogPixelMark {
    int X = 0;
    LogCell What = LogCell::NotANumber;  // NotANumber, PlusInfinity or MinusInfinity
    bool operator==(const LogPixelMark&) const = default;
};

struct LogEnvelope {
    int Pixels = 0;  // how many pixel columns the span was laid over
    // Where the curve comes in at the span's left edge (X 0) and leaves at its
    // right edge (X pixels), on the line between the rows outside and inside
    // the span; none where it is broken there or no row lies beyond.
    std::optional<double> Enter;
    std::vector<LogPixelColumn> Columns;  // those with a finite value, left to right
    std::optional<double> Leave;          // joined to the last point before it
    std::vector<LogPixelMark> Marks;      // by X, and in the order of LogCell at one X
};

LogEnvelope DecimateLogColumn(const LogTable& table, std::size_t column,
                              const LogExtremes& extremes, LogSpan span, int pixels);

// Where an envelope is drawn: pixel column X at Left + X, value Low at Bottom
// and High at Top (values beyond them at those edges).
struct LogPlotArea {
    int Left = 0, Top = 0, Bottom = 0;
    double Low = 0.0, High = 1.0;
};

// The envelope as polylines, one per unbroken piece, without a point that
// repeats the one before it; a piece of one point is a lone value, which a
// view draws as a dot.
std::vector<std::vector<TrendPixel>> LogPolylines(const LogEnvelope& envelope,
                                                  const LogPlotArea& area);
