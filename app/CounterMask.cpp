#include "app/CounterMask.h"

#include <QLineEdit>
#include <algorithm>

namespace {

constexpr int HourPositions = 4;
constexpr int MinutesAt = HourPositions + 1;  // after the colon

}  // namespace

CounterPlacement PlaceCounter(std::string_view text) {
    CounterPlacement placement;
    const std::size_t colon = text.find(':');
    placement.Hours = std::string(text.substr(0, colon));
    if (colon != std::string_view::npos) placement.Minutes = std::string(text.substr(colon + 1));
    // More hour digits than positions: the mask keeps the first four.
    placement.HoursAt = std::max(0, HourPositions - static_cast<int>(placement.Hours.size()));
    return placement;
}

void ShowCounter(QLineEdit& box, const std::string& text) {
    const CounterPlacement placement = PlaceCounter(text);
    // Typed in at their positions rather than set as one text: a text set whole
    // is laid from the left, and the mask refuses a blank for a required digit.
    box.clear();
    box.setCursorPosition(placement.HoursAt);
    box.insert(QString::fromStdString(placement.Hours));
    box.setCursorPosition(MinutesAt);
    box.insert(QString::fromStdString(placement.Minutes));
}
