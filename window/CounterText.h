#pragma once
// The counter boxes of the ECU information page: an optional digit, three
// digits, a colon and two digits ("4094:45"), the colon always shown. A
// counter text with fewer digits ("18:11", or "25" with no colon at all) is
// laid in right-aligned before the colon, so its digits and colon read in
// order: "  18:11", "  25:  ".

#include <string>
#include <string_view>

// Where a counter text goes: its hour digits from position HoursAt, its minute
// digits from the position after the colon; and what the box then shows,
// blanks as spaces.
struct CounterText {
    static constexpr int HourPositions = 4;
    static constexpr int MinutesAt = HourPositions + 1;  // after the colon

    int HoursAt = 0;
    std::string Hours;
    std::string Minutes;
    std::string Shown;
    bool operator==(const CounterText&) const = default;
};

CounterText PlaceCounter(std::string_view text);
