#include "window/TrendHandlers.h"

#include "window/LogWindow.h"
#include "window/WindowBehaviour.h"

namespace {

// The viewer's events, to the viewer `log` gives when called (none: nothing).
void ForwardLogEvents(TrendHandlers& handlers, std::function<LogWindow*()> log) {
    handlers.OpenLog = [log] {
        if (LogWindow* window = log()) window->AskAndOpen();
    };
    handlers.Key = [log](int key, bool control) {
        LogWindow* window = log();
        return window && window->Key(key, control);
    };
    handlers.Wheel = [log](int steps, int x) {
        if (LogWindow* window = log()) window->Wheel(steps, x);
    };
    handlers.Press = [log](int x) {
        if (LogWindow* window = log()) window->Press(x);
    };
    handlers.Drag = [log](int x) {
        if (LogWindow* window = log()) window->Drag(x);
    };
    handlers.Release = [log](int x) {
        if (LogWindow* window = log()) window->Release(x);
    };
}

}  // namespace

TrendHandlers TrendHandlersOf(const std::unique_ptr<WindowBehaviour>& behaviour) {
    TrendHandlers handlers;
    handlers.RowsChosen = [&behaviour](const std::vector<int>& rows) {
        if (behaviour) behaviour->TrendRowsChosen(rows);
    };
    handlers.PeriodChosen = [&behaviour](int period) {
        if (behaviour) behaviour->TrendPeriodChosen(period);
    };
    handlers.Closed = [&behaviour] {
        if (behaviour) behaviour->TrendClosed();
    };
    handlers.Plot = [&behaviour](int width, int height) {
        return behaviour ? behaviour->TrendPlot(width, height) : TrendPicture{};
    };
    handlers.BackToLive = [&behaviour] {
        if (behaviour) behaviour->TrendBackToLive();
    };
    ForwardLogEvents(handlers,
                     [&behaviour] { return behaviour ? &behaviour->TrendLog() : nullptr; });
    return handlers;
}

TrendHandlers TrendHandlersOf(const std::unique_ptr<LogWindow>& log, std::function<void()> closed) {
    TrendHandlers handlers;
    handlers.RowsChosen = [&log](const std::vector<int>& rows) {
        if (log) log->RowsChosen(rows);
    };
    handlers.PeriodChosen = [](int) {};
    handlers.Closed = std::move(closed);
    handlers.Plot = [&log](int width, int height) {
        return log ? log->Plot(width, height) : TrendPicture{};
    };
    handlers.BackToLive = [] {};
    ForwardLogEvents(handlers, [&log] { return log.get(); });
    return handlers;
}
