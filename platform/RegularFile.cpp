#include "platform/RegularFile.h"

#include <limits>

FileRead ReadRegularFile(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
    const FileRead read = ReadRegularFileInPieces(path, std::numeric_limits<std::uint64_t>::max(),
                                                  [&bytes](std::string_view piece) {
                                                      bytes.append(piece);
                                                      return true;
                                                  });
    if (read.Outcome != FileReadOutcome::Read) bytes.clear();
    return read;
}
