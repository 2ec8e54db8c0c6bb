#pragma once
// Cutting a file open for writing back to a length, for a writer that must
// not leave the part of a piece that did not fit.

#include <cstdint>
#include <cstdio>

// Makes the file `length` bytes long. False when the system refused.
bool CutFile(std::FILE* file, std::uint64_t length);
