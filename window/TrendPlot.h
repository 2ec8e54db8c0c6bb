#pragma once
// The trend as a picture: a black plot with a grid, the last minute (or five)
// of each chosen row as a curve in its own colour and on its own scale,
// broken where reads lapsed; its code, scale and unit in a legend above the
// plot, its latest value beside the curve's end (grey while reads fail), and
// a mark wherever a value is outside its definition's range.
//
// The time axis moves in steps of a grid line (10 seconds, or a minute for
// five), its lines labelled with the time of day: between two steps the
// curves only grow at their ends, so that a view need only paint anew what
// ChangedAreas (window/TrendPicture.h) names, a small part of the plot at
// each tick.

#include <cstddef>
#include <string>

#include "database/ParameterSets.h"
#include "window/Trend.h"
#include "window/TrendPicture.h"

// The width left beside the plot for the latest values.
inline constexpr int TrendValueRoom = 150;

// The colour of the n-th chosen row's curve.
CellColour TrendColour(std::size_t n);

// The picture of the trend in an area of width × height pixels, `rows`
// being the definitions of the page's set; value texts take the decimal
// separator.
TrendPicture PlotTrend(const Trend& trend, const ParameterSets::SlotDefinitions& rows, int width,
                       int height, const std::string& decimalSeparator);
