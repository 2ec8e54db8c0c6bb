#include "window/TrendPicture.h"

#include <algorithm>
#include <limits>

namespace {

TrendArea Around(const std::vector<TrendPixel>& points, std::size_t from) {
    int left = std::numeric_limits<int>::max(), top = left;
    int right = std::numeric_limits<int>::min(), bottom = right;
    for (std::size_t i = from; i < points.size(); ++i) {
        left = std::min(left, points[i].X);
        right = std::max(right, points[i].X);
        top = std::min(top, points[i].Y);
        bottom = std::max(bottom, points[i].Y);
    }
    // The line's pixels and a mark's around each point.
    constexpr int Room = TrendMarkSize / 2 + 1;
    return {left - Room, top - Room, right - left + 2 * Room + 1, bottom - top + 2 * Room + 1};
}

}  // namespace

std::optional<std::vector<TrendArea>> ChangedAreas(const TrendPicture& before,
                                                   const TrendPicture& after, int width) {
    if (!(before.Background == after.Background) || before.Grid != after.Grid ||
        before.Labels != after.Labels || before.Curves.size() != after.Curves.size())
        return std::nullopt;
    std::vector<TrendArea> areas;
    for (std::size_t n = 0; n < after.Curves.size(); ++n) {
        const TrendLine &was = before.Curves[n], &is = after.Curves[n];
        if (!(was.Colour == is.Colour) || is.Points.size() < was.Points.size() ||
            !std::equal(was.Points.begin(), was.Points.end(), is.Points.begin()))
            return std::nullopt;
        // From the old end, so that the segment that joins it is painted too.
        if (is.Points.size() > was.Points.size())
            areas.push_back(Around(is.Points, was.Points.empty() ? 0 : was.Points.size() - 1));
    }
    if (before.Values != after.Values)
        for (const auto* values : {&before.Values, &after.Values})
            for (const TrendText& text : *values)
                areas.push_back({text.At.X, text.At.Y, width - text.At.X, TrendLineHeight});
    return areas;
}
