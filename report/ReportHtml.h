#pragma once
// A report as one self-contained HTML5 page in UTF-8, to open in any browser
// and print on A4: its style inline, no script, nothing fetched from outside.
// Labels are the window's texts in the report's language; every text of the
// ECU, of database.ini or of the system (port, device) is escaped, so that
// none can become markup.

#include <string>

#include "report/EcuReport.h"

std::string ReportHtml(const EcuReport& report);
