#pragma once
// The local calendar time of a moment, as each system gives it safely, and as
// text.

#include <ctime>
#include <string>

std::tm LocalTime(std::time_t moment);

// The local time of a moment in a strftime format ("%H:%M:%S"); empty when
// the text would be longer than a line of such fields.
std::string LocalTimeText(std::time_t moment, const char* format);
