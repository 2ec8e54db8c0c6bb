#include "window/LogTime.h"

#include <chrono>
#include <cstdio>

namespace {

// Exactly `width` decimal digits at `at`, or nothing.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t width) {
    if (at + width > text.size()) return {};
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return {};
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::optional<LogMillis> ParseLogTime(std::string_view text) {
    // 2026-12-08T10:15:30 is 19 characters; a fraction adds a point and 1 to 3 digits.
    if (text.size() < 19 || text.size() == 20 || text.size() > 23) return {};
    if (text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':')
        return {};
    const auto year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    const auto hour = Digits(text, 11, 2), minute = Digits(text, 14, 2),
               second = Digits(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second) return {};
    if (*hour > 23 || *minute > 59 || *second > 59) return {};
    int millis = 0;
    if (text.size() > 19) {
        if (text[19] != '.') return {};
        const std::size_t width = text.size() - 20;
        const auto fraction = Digits(text, 20, width);
        if (!fraction) return {};
        millis = *fraction * (width == 1 ? 100 : width == 2 ? 10 : 1);
    }
    using namespace std::chrono;
    const year_month_day date{std::chrono::year(*year), std::chrono::month(*month),
                              std::chrono::day(*day)};
    if (!date.ok()) return {};
    const LogMillis days = sys_days(date).time_since_epoch().count();
    return days * LogMillisPerDay + ((*hour * 60 + *minute) * 60 + *second) * 1000LL + millis;
}

std::int64_t LogDay(LogMillis time) {
    // Floor division: a time before 1970 belongs to the day that begins before it.
    return time >= 0 ? time / LogMillisPerDay : -((-time + LogMillisPerDay - 1) / LogMillisPerDay);
}

std::string LogTimeOfDay(LogMillis time, bool milliseconds) {
    const LogMillis within = time - LogDay(time) * LogMillisPerDay;
    const int seconds = static_cast<int>(within / 1000);
    char text[32];
    if (milliseconds)
        std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", seconds / 3600, seconds / 60 % 60,
                      seconds % 60, static_cast<int>(within % 1000));
    else
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    return text;
}

std::string LogDate(LogMillis time) {
    using namespace std::chrono;
    const year_month_day date{sys_days(days(LogDay(time)))};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}
