#pragma once
// Trends of made-up reads for the plot's tests: good reads at whole seconds
// with the values a function gives each slot.

#include <functional>

#include "database/ParameterSets.h"
#include "window/Trend.h"

// The trend's seconds counted from a moment on a grid line of the time axis.
inline constexpr double GridLineOrigin = 1000000.0;

// A good read at each second of [from, to], slot s holding value(second, s).
inline void AddReads(Trend& trend, int from, int to,
                     const std::function<double(int second, int slot)>& value) {
    ParameterSets::Definitions definitions{};
    ParameterSets sets(definitions);
    sets.Selection.Accepted = SlotCount;
    for (int second = from; second <= to; ++second) {
        for (int slot = 0; slot < SlotCount; ++slot) sets.Values[slot] = value(second, slot);
        trend.Add(second, sets);
    }
}
