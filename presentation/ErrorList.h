#pragma once
// The list of stored errors as both front ends show it: one line per error set
// in the ECU's bitmap, in ascending error number, with the code and the name
// (in the current language) of the error's definition.

#include <cstdint>
#include <string>
#include <vector>

#include "database/DefinitionDatabase.h"

struct ErrorLine {
    int Number = 0;  // 0 to 127: the index of the definition in Errors
    // cp1251 as database.ini has them; both empty for an error the file does
    // not define, which is listed all the same.
    std::string Code;
    std::string Name;
};

// The lines of the errors set in a 16-byte bitmap; their count is the number
// of errors.
std::vector<ErrorLine> ErrorLines(const std::uint8_t* bitmap,
                                  const DefinitionDatabase& definitions);
