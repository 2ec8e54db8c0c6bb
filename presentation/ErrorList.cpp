#include "presentation/ErrorList.h"

#include "protocol/ErrorBitmap.h"

static_assert(ErrorCount <= DefinitionDatabase::DefinitionCount);

std::vector<ErrorLine> ErrorLines(const std::uint8_t* bitmap,
                                  const DefinitionDatabase& definitions) {
    std::vector<ErrorLine> lines;
    for (int number : StoredErrors(bitmap)) {
        const ErrorDef& def = definitions.Errors[static_cast<std::size_t>(number)];
        lines.push_back({number, def.Code, *def.Name});
    }
    return lines;
}
