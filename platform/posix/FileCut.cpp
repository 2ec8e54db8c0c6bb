#include "platform/FileCut.h"

#include <sys/types.h>
#include <unistd.h>

bool CutFile(std::FILE* file, std::uint64_t length) {
    return ::ftruncate(::fileno(file), static_cast<off_t>(length)) == 0;
}
