#pragma once
// Trends of made-up reads for the plot's tests: good reads at whole seconds
// with the values a function gives each slot.

#include <functional>
#include <vector>

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

// Sixteen rows of one definition whose range is [min, max] (none when both are 0).
struct PlotRows {
    PlotRows(double min, double max) {
        Def.Min = min;
        Def.Max = max;
        Rows.fill(&Def);
    }
    PlotRows(const PlotRows&) = delete;
    PlotRows& operator=(const PlotRows&) = delete;

    ParameterDef Def;
    ParameterSets::SlotDefinitions Rows{};
};

// A trend whose seconds count from a grid line, plotting `chosen`.
inline Trend TrendFromGridLine(const std::vector<int>& chosen) {
    Trend trend;
    trend.OriginSeconds = GridLineOrigin;
    trend.Choose(chosen);
    return trend;
}
