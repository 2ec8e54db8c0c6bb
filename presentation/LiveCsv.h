#pragma once
// The live values as a CSV log, the same for the command-line tool's
// `live --format csv` and for the window's log file: a time column, then one
// column per slot, named by its code and unit; UTF-8, a slot without a value
// left empty.

#include <chrono>
#include <string>

#include "database/ParameterSets.h"

// `csv` with ',' between fields and a decimal point, as programs read it;
// `csv-semicolon` for spreadsheets set to a decimal comma, which take ','
// for the decimal and want ';' between fields and a byte-order mark to read
// UTF-8.
struct CsvStyle {
    char Separator = ',';
    char Decimal = '.';
    bool ByteOrderMark = false;
};

// What comes before the header: the byte-order mark, if any.
std::string CsvStart(const CsvStyle& style);
// The header line of a set's slots, its line end included.
std::string CsvHeader(const ParameterSets::SlotDefinitions& rows, const CsvStyle& style);
// One line of the current values, its line end included.
std::string CsvRow(const ParameterSets& sets, const std::string& time, const CsvStyle& style);
// A moment as the time column writes it: local time with milliseconds,
// "2026-12-08T10:15:30.125".
std::string CsvTime(std::chrono::system_clock::time_point moment);
