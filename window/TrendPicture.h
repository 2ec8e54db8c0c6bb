#pragma once
// What the trend window shows, as lines, marks and texts at pixel positions,
// so that each toolkit only draws them (window/TrendPlot.h makes it).

#include <optional>
#include <string>
#include <vector>

#include "window/CellLook.h"

struct TrendPixel {
    int X = 0;
    int Y = 0;
    bool operator==(const TrendPixel&) const = default;
};

struct TrendLine {
    CellColour Colour;
    std::vector<TrendPixel> Points;  // a polyline
    bool operator==(const TrendLine&) const = default;
};

// A curve's pixels in one column, from Top to Bottom: where a curve is dense
// (several rows a pixel column) it is drawn as such runs, a rectangle one
// pixel wide each, which costs a toolkit far less than as many strokes.
struct TrendRun {
    int X = 0, Top = 0, Bottom = 0;
    bool operator==(const TrendRun&) const = default;
};

struct TrendRuns {
    CellColour Colour;
    std::vector<TrendRun> Runs;  // left to right
    bool operator==(const TrendRuns&) const = default;
};

// A small square around its pixel.
struct TrendMark {
    CellColour Colour;
    TrendPixel At;
};

// A line of text whose top left is at its pixel.
struct TrendText {
    CellColour Colour;
    TrendPixel At;
    std::string Text;  // UTF-8
    bool operator==(const TrendText&) const = default;
};

struct TrendPicture {
    // The frame, which changes seldom (with the size, the period, the rows
    // chosen or a fitted scale), so that a view may keep it drawn: the
    // background, the grid, the seconds under it and the legend.
    CellColour Background;
    std::vector<TrendLine> Grid;
    std::vector<TrendText> Labels;
    // What moves at every tick, drawn over the frame.
    // The pieces of the chosen rows' curves, in their order, each row's
    // oldest first; a piece of one point is drawn as a dot.
    std::vector<TrendLine> Curves;
    std::vector<TrendRuns> Runs;  // of dense curves, beside their strokes
    std::vector<TrendMark> Marks;
    std::vector<TrendText> Values;  // the latest values, beside the curves' ends
};

// The height of a line of text, and the side of a range mark.
inline constexpr int TrendLineHeight = 16;
inline constexpr int TrendMarkSize = 5;

// A rectangle in pixels: of the picture, or of the screen.
struct TrendArea {
    int X = 0, Y = 0, Width = 0, Height = 0;
    bool operator==(const TrendArea&) const = default;
};

// Where `after` differs from `before`, both of an area `width` pixels wide:
// the new ends of the curves and the latest values that changed; nothing
// when the pictures are the same, and nullopt when the whole is to be
// painted anew (the frame changed, or a curve did more than grow).
std::optional<std::vector<TrendArea>> ChangedAreas(const TrendPicture& before,
                                                   const TrendPicture& after, int width);
