#pragma once
// Reading a report (EcuReport.h) from the ECU with the exchanges the window's
// pages make, in their frames and order: the identification and counters as
// the ECU information page's tick reads them, the error memory as the errors
// page's tick, then the set selected into the ECU's slots and its live block
// as a parameter page's tick after the link flag was cleared.
//
// The command-line tool calls it once on a line it has just connected. The
// window calls it between two ticks (F9), with the pieces of its session:
// it touches neither Polling nor the timer, the read counter, the log, the
// trend or the link flag, and writes nothing but what the line's recorder
// keeps of every exchange. Afterwards the ECU's slots hold the report's set
// and `sets` has it selected, with the report's values: the caller must have
// the window select its own set again at the next tick, by clearing its link
// flag (LinkOk), as a page change does.

#include <chrono>
#include <string>

#include "database/DefinitionDatabase.h"
#include "database/ParameterSets.h"
#include "line/EcuLine.h"
#include "report/EcuReport.h"

// Who makes the report, and how it writes numbers.
struct ReportMaker {
    std::string ToolName;     // "vmxdiag" or "vmxdiag-cli"
    std::string ToolVersion;  // "1.0"
    std::chrono::system_clock::time_point Time{};
    // Before the decimals of a value, as the maker shows them: the window
    // passes the user's, the command-line tool a point.
    std::string DecimalSeparator = ".";
};

// Reads the report over the open line. `set` is 0 or 1 (limited to that
// range); the texts are in the language of `definitions`, whose parameters
// `sets` holds. A request the ECU does not answer is noted in the report and
// the reading goes on with the next part.
EcuReport ReadEcuReport(EcuLine& line, const DefinitionDatabase& definitions, ParameterSets& sets,
                        int set, const ReportMaker& maker);
