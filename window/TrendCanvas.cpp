#include "window/TrendCanvas.h"

#include <utility>

std::optional<std::vector<TrendArea>> TrendCanvas::Refresh(int width, int height) {
    TrendPicture picture = plot_(width, height);
    std::optional<std::vector<TrendArea>> areas;
    if (width == width_ && height == height_) areas = ChangedAreas(picture_, picture, width);
    picture_ = std::move(picture);
    width_ = width;
    height_ = height;
    return areas;
}

const TrendPicture& TrendCanvas::Picture(int width, int height) {
    if (width != width_ || height != height_) Refresh(width, height);
    return picture_;
}
