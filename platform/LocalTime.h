#pragma once
// The local calendar time of a moment, as each system gives it safely.

#include <ctime>

std::tm LocalTime(std::time_t moment);
