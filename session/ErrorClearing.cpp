#include "session/ErrorClearing.h"

#include <cstddef>

#include "session/ErrorReading.h"

namespace {

// More than any answer of the ECU; a line that never falls quiet still ends.
constexpr std::size_t MostStrayBytes = 256;

}  // namespace

ErrorClearing ClearAndReadBack(EcuLine& line, const DefinitionDatabase& definitions) {
    ErrorClearing clearing;
    clearing.Sent = line.ClearErrorMemory();
    if (!clearing.Sent) return clearing;
    // Each one-byte read waits up to 110 ms for a byte: the answer has come
    // and gone when one finds nothing.
    for (std::size_t stray = 0; stray < MostStrayBytes && line.Link().ReadByte(); ++stray) {
    }
    clearing.Remaining = ReadErrorList(line, definitions);
    return clearing;
}
