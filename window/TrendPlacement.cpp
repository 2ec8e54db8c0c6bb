#include "window/TrendPlacement.h"

#include <algorithm>
#include <array>

namespace {

// `at` moved as little as it takes for `length` to lie within [low, high),
// or to start at `low` when it is longer.
int Within(int at, int length, int low, int high) {
    return std::max(low, std::min(at, high - length));
}

// How much of [from, from + length) lies within [low, high).
int Overlap(int from, int length, int low, int high) {
    return std::max(0, std::min(from + length, high) - std::max(from, low));
}

}  // namespace

TrendArea PlaceTrend(const TrendArea& owner, int width, int height, const TrendArea& screen,
                     int gap) {
    const int screenRight = screen.X + screen.Width, screenBottom = screen.Y + screen.Height;
    const int ownerRight = owner.X + owner.Width, ownerBottom = owner.Y + owner.Height;
    const int levelY = Within(owner.Y, height, screen.Y, screenBottom);
    const int levelX = Within(owner.X, width, screen.X, screenRight);
    const std::array<TrendArea, 4> beside{{
        {ownerRight + gap, levelY, width, height},
        {owner.X - gap - width, levelY, width, height},
        {levelX, ownerBottom + gap, width, height},
        {levelX, owner.Y - gap - height, width, height},
    }};
    for (const TrendArea& place : beside)
        if (place.X >= screen.X && place.X + width <= screenRight && place.Y >= screen.Y &&
            place.Y + height <= screenBottom)
            return place;

    // The part covered is the product of the overlaps along either axis, each
    // least at one end of the room the screen leaves: so at a corner.
    const auto least = [](int low, int high, int length, int ownerLow, int ownerHigh) {
        const int far = std::max(low, high - length);
        return Overlap(far, length, ownerLow, ownerHigh) <=
                       Overlap(low, length, ownerLow, ownerHigh)
                   ? far
                   : low;
    };
    return {least(screen.X, screenRight, width, owner.X, ownerRight),
            least(screen.Y, screenBottom, height, owner.Y, ownerBottom), width, height};
}
