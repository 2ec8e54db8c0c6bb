#include "platform/FileCut.h"

#include <io.h>

bool CutFile(std::FILE* file, std::uint64_t length) {
    return ::_chsize_s(::_fileno(file), static_cast<__int64>(length)) == 0;
}
