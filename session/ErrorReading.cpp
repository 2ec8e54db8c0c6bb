#include "session/ErrorReading.h"

std::optional<std::vector<ErrorLine>> ReadErrorList(EcuLine& line,
                                                    const DefinitionDatabase& definitions) {
    WorkBuffer buffer{};
    if (!line.Ecu().ReadErrors(buffer)) {
        line.Link().Purge();
        return std::nullopt;
    }
    return ErrorLines(buffer.data(), definitions);
}
