#pragma once
// The counter boxes of the ECU information page: an optional digit, three
// digits, a colon and two digits ("4094:45"), the colon always shown. A
// counter text with fewer digits ("18:11", or "25" with no colon at all) is
// laid in right-aligned before the colon, so its digits and colon read in
// order: "  18:11", "  25:  ".

#include <string>
#include <string_view>

class QLineEdit;

// The input mask of the boxes, in Qt's syntax ('0' an optional digit, '9' a
// required one); the blank is a space.
inline constexpr const char* CounterInputMask = "0999:99";

// Where a counter text goes: its hour digits from position HoursAt, its minute
// digits from the position after the colon.
struct CounterPlacement {
    int HoursAt = 0;
    std::string Hours;
    std::string Minutes;
    bool operator==(const CounterPlacement&) const = default;
};

CounterPlacement PlaceCounter(std::string_view text);

// Empties the box and lays the text into it as PlaceCounter says, unless it
// shows that text already.
void ShowCounter(QLineEdit& box, const std::string& text);
