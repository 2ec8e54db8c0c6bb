#include "window/TrendHandlers.h"

#include "window/WindowBehaviour.h"

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
    return handlers;
}
