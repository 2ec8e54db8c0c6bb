#pragma once
// Clearing the ECU's error memory and reading it back, as the command-line
// tool does it: the clear request has no reply that tells whether it took,
// so only a read of the memory afterwards does.

#include <optional>
#include <vector>

#include "database/DefinitionDatabase.h"
#include "line/EcuLine.h"
#include "presentation/ErrorList.h"

struct ErrorClearing {
    bool Sent = false;  // the clear request's whole echo came back
    // The errors the memory holds after the clear; nothing when the request
    // did not go out or the read-back failed.
    std::optional<std::vector<ErrorLine>> Remaining;
};

// EcuLine::ClearErrorMemory, then the line is let fall quiet (the ECU's
// answer to the clear, which is never read, may come after the purge and
// would be taken for the next echo), then the memory is read.
ErrorClearing ClearAndReadBack(EcuLine& line, const DefinitionDatabase& definitions);
