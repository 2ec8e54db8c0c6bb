#pragma once
// The texts of a report as its writers put them: UTF-8 that any reader
// takes, and the report's time.

#include <chrono>
#include <string>
#include <string_view>

// A text of the ECU or of database.ini (cp1251) in UTF-8, each control
// character shown as '?'.
std::string ReportText(const std::string& cp1251);

// A text that should be UTF-8 already (a port's name, a device path, the
// tool's name) with every byte that is not part of a well-formed UTF-8
// character, and every control character, shown as '?'.
std::string ReportUtf8(std::string_view text);

// Local time as people read it: "2026-05-14 09:26:53".
std::string ReportTimeText(std::chrono::system_clock::time_point time);
// Local time with its offset from UTC, as programs read it (RFC 3339):
// "2026-05-14T09:26:53+03:00".
std::string ReportTimeStamp(std::chrono::system_clock::time_point time);
