#pragma once
// How the commands print what the ECU sent, the same for a reading on the line
// and for one played from a recording: the live values as a screen or a CSV
// log, and the list of stored errors.

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

#include "database/ParameterSets.h"
#include "presentation/ErrorList.h"
#include "presentation/LiveCsv.h"

// The style of a --format value; nothing for "table".
std::optional<CsvStyle> CsvStyleOf(const std::string& format);
// Adds --format table|csv|csv-semicolon to a command.
void AddFormatOption(CLI::App& command, std::string& format, const std::string& help);

// What comes before the first line of a log (the byte-order mark).
void PrintCsvStart(const CsvStyle& style);
// The CSV header: a time column, then each slot's code and unit.
void PrintCsvHeader(const ParameterSets& sets, const CsvStyle& style);
// One CSV line of the current values; slots without a value stay empty.
void PrintCsvLine(const ParameterSets& sets, const std::string& time, const CsvStyle& style);
// The values as a table under `title`, its column headers the window's in the
// language `languageIndex`. On a terminal the screen is redrawn in place;
// otherwise one block follows another.
void PrintLiveTable(const ParameterSets& sets, int languageIndex, const std::string& title,
                    bool terminal);

// The stored errors, code and name, and their number.
void PrintErrorList(const std::vector<ErrorLine>& lines);
