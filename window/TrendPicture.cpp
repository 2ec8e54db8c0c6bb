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
        before.Labels != after.Labels || before.Curves.size() != after.Curves.size() ||
        before.Runs != after.Runs)
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
    // The lines of the values that changed, where they were and where they
    // are: a value that stays as it was is left as it is painted.
    const auto lineOf = [&](const TrendText& text) {
        return TrendArea{text.At.X, text.At.Y, width - text.At.X, TrendLineHeight};
    };
    const auto among = [](const std::vector<TrendText>& texts, const TrendText& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    for (const TrendText& text : before.Values)
        if (!among(after.Values, text)) areas.push_back(lineOf(text));
    for (const TrendText& text : after.Values)
        if (!among(before.Values, text)) areas.push_back(lineOf(text));
    return areas;
}
