#include "app/CounterMask.h"

#include <QLineEdit>
#include <algorithm>

namespace {

constexpr int HourPositions = 4;
constexpr int MinutesAt = HourPositions + 1;  // after the colon

// What the box shows once the placement is typed in, blanks as spaces.
QString Shown(const CounterPlacement& placement) {
    QString shown(QStringLiteral("    :  "));
    const auto lay = [&shown](int at, const std::string& digits, int positions) {
        const int count = std::min(static_cast<int>(digits.size()), positions);
        shown.replace(at, count, QString::fromStdString(digits.substr(0, count)));
    };
    lay(placement.HoursAt, placement.Hours, HourPositions - placement.HoursAt);
    lay(MinutesAt, placement.Minutes, 2);
    return shown;
}

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
    // A box that shows the text already keeps the user's cursor and selection.
    // (Where the guess of what it shows is wrong, the box is merely rewritten.)
    if (box.displayText() == Shown(placement)) return;
    // Typed in at their positions rather than set as one text: a text set whole
    // is laid from the left, and the mask refuses a blank for a required digit.
    box.clear();
    box.setCursorPosition(placement.HoursAt);
    box.insert(QString::fromStdString(placement.Hours));
    box.setCursorPosition(MinutesAt);
    box.insert(QString::fromStdString(placement.Minutes));
}
