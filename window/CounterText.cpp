#include "window/CounterText.h"

#include <algorithm>

CounterText PlaceCounter(std::string_view text) {
    CounterText counter;
    const std::size_t colon = text.find(':');
    counter.Hours = std::string(text.substr(0, colon));
    if (colon != std::string_view::npos) counter.Minutes = std::string(text.substr(colon + 1));
    // More hour digits than positions: the mask keeps the first four.
    counter.HoursAt =
        std::max(0, CounterText::HourPositions - static_cast<int>(counter.Hours.size()));
    counter.Shown = "    :  ";
    const auto lay = [&counter](int at, const std::string& digits, int positions) {
        const auto count = std::min(digits.size(), static_cast<std::size_t>(positions));
        counter.Shown.replace(static_cast<std::size_t>(at), count, digits.substr(0, count));
    };
    lay(counter.HoursAt, counter.Hours, CounterText::HourPositions - counter.HoursAt);
    lay(CounterText::MinutesAt, counter.Minutes, 2);
    return counter;
}
