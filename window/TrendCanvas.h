#pragma once
// The picture a trend view shows, kept with the size it was made for: when the
// trend changes, what differs from it is all a view paints anew (the curves'
// new ends and the values that changed); the whole on a step of the time axis,
// a new size, new rows or another period.

#include <functional>
#include <optional>
#include <vector>

#include "window/TrendPicture.h"

class TrendCanvas {
public:
    // Makes the picture for a width and height in pixels.
    using Plot = std::function<TrendPicture(int width, int height)>;
    explicit TrendCanvas(Plot plot) : plot_(std::move(plot)) {}

    // The trend changed: the picture is made anew for the size, and the areas
    // to paint again are given; nullopt when the whole is to be painted.
    std::optional<std::vector<TrendArea>> Refresh(int width, int height);
    // The picture to paint at that size, made anew when the size is new.
    const TrendPicture& Picture(int width, int height);

private:
    Plot plot_;
    TrendPicture picture_;
    int width_ = -1, height_ = -1;
};
