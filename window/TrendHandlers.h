#pragma once
// What the trend window's events do, in either toolkit: the behaviour's, once
// there is one (the window is made before the behaviour), or those of a log
// viewer alone.

#include <functional>
#include <memory>
#include <vector>

#include "window/TrendCanvas.h"

class LogWindow;
class WindowBehaviour;

struct TrendHandlers {
    std::function<void(const std::vector<int>&)> RowsChosen;  // the rows ticked, in list order
    std::function<void(int)> PeriodChosen;                    // 0: a minute, 1: five
    std::function<void()> Closed;
    TrendCanvas::Plot Plot;
    // The log viewer's (window/LogWindow.h): its two buttons, a key (its
    // virtual-key code, Ctrl held) that is true when taken, the wheel's steps
    // (> 0 away from the user) at a pixel of the plot, and the left button
    // pressed, moved and released there.
    std::function<void()> OpenLog;
    std::function<void()> BackToLive;
    std::function<bool(int, bool)> Key;
    std::function<void(int steps, int x)> Wheel;
    std::function<void(int x)> Press;
    std::function<void(int x)> Drag;
    std::function<void(int x)> Release;
};

// Handlers that reach the behaviour `behaviour` holds when they are called,
// and do nothing (or plot nothing) while it holds none.
TrendHandlers TrendHandlersOf(const std::unique_ptr<WindowBehaviour>& behaviour);
// Handlers of a viewer alone, that `log` holds when they are called;
// `closed` is called when its window closes.
TrendHandlers TrendHandlersOf(const std::unique_ptr<LogWindow>& log, std::function<void()> closed);
