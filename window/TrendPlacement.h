#pragma once
// Where the trend window opens, the same in either toolkit: beside the main
// window where the screen has room for it whole, else where it hides least
// of the main window.

#include "window/TrendPicture.h"

// The place of a window of width × height (its frame included) beside the
// main window `owner`, `gap` pixels off it: on its right, else on its left,
// below or above it, level with it as far as the work area `screen` allows.
// Where none of these fits the work area, the place in it that covers least
// of the owner (on a tie, its right and its bottom); a window larger than the
// work area keeps its top left corner, and so its title, in it.
TrendArea PlaceTrend(const TrendArea& owner, int width, int height, const TrendArea& screen,
                     int gap);
