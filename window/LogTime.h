#pragma once
// The times of a log's rows as they are written: local wall-clock times
// without a zone, "2026-12-08T10:15:30.125". They are kept as milliseconds
// since 1970-01-01T00:00 of that same wall clock, by calendar arithmetic
// alone: no time zone, no C locale, so a log reads the same on any machine and
// shows the times of day its writer saw.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A wall-clock time in milliseconds since 1970-01-01T00:00 of that clock.
using LogMillis = std::int64_t;

inline constexpr LogMillis LogMillisPerDay = 86'400'000;

// "YYYY-MM-DDTHH:MM:SS" with an optional fraction of one to three digits, as
// the time column writes it; nothing else (no zone, no blanks). A date that
// is not in the calendar, or an hour, minute or second out of its range, is
// no time.
std::optional<LogMillis> ParseLogTime(std::string_view text);

// The day a time falls on, counted from 1970-01-01 (negative before it).
std::int64_t LogDay(LogMillis time);

// "10:15:30", or "10:15:30.125" with the milliseconds.
std::string LogTimeOfDay(LogMillis time, bool milliseconds = false);
// "2026-12-08".
std::string LogDate(LogMillis time);
