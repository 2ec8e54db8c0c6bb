#pragma once
// One read of the ECU's error memory into the list both front ends show.

#include <optional>
#include <vector>

#include "database/DefinitionDatabase.h"
#include "line/EcuLine.h"
#include "presentation/ErrorList.h"

// The lines of the errors stored now, or nothing when the read failed; the
// line is then purged of what is left of the reply, so that it cannot meet
// the next request.
std::optional<std::vector<ErrorLine>> ReadErrorList(EcuLine& line,
                                                    const DefinitionDatabase& definitions);
