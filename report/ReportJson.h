#pragma once
// A report as one JSON document of a fixed shape, for workshop systems: every
// key is always there, in the same order, with null where the ECU gave
// nothing; texts in UTF-8, numbers as JSON numbers. The README describes the
// shape.

#include <string>

#include "report/EcuReport.h"

std::string ReportJson(const EcuReport& report);
