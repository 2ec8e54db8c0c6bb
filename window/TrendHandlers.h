#pragma once
// What the trend window's events do, in either toolkit: the behaviour's, once
// there is one (the window is made before the behaviour).

#include <functional>
#include <memory>
#include <vector>

#include "window/TrendCanvas.h"

class WindowBehaviour;

struct TrendHandlers {
    std::function<void(const std::vector<int>&)> RowsChosen;  // the rows ticked, in list order
    std::function<void(int)> PeriodChosen;                    // 0: a minute, 1: five
    std::function<void()> Closed;
    TrendCanvas::Plot Plot;
};

// Handlers that reach the behaviour `behaviour` holds when they are called,
// and do nothing (or plot nothing) while it holds none.
TrendHandlers TrendHandlersOf(const std::unique_ptr<WindowBehaviour>& behaviour);
