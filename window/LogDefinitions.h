#pragma once
// What the log viewer takes from database.ini: the language, and of each
// parameter its code, names, units, digits and range, to name a log's columns
// and scale them. The file is only read, never written; a missing file gives
// none, and a definition whose "Address" does not convert is read all the
// same, since the viewer never asks the ECU for it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct LogDefinition {
    std::string Code;                            // UTF-8, as a log's header names it
    std::string NameRu, NameEn, UnitRu, UnitEn;  // UTF-8
    int Digits = 0;
    double Min = 0.0, Max = 0.0;  // a range only where Min < Max
};

struct LogDefinitions {
    std::uint8_t Language = 0;  // 0 Russian, 1 English
    std::vector<LogDefinition> Parameters;

    // The definition of a column's code; null when none has it.
    const LogDefinition* Of(const std::string& code) const;
};

LogDefinitions ReadLogDefinitions(const std::filesystem::path& iniPath);
