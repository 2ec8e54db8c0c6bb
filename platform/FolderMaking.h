#pragma once
// The folders a program writes its files into (logs/, reports/), made where
// they are missing.

#include <filesystem>
#include <string>

// Makes `folder` and whatever folders above it are missing. Empty when it is
// a folder afterwards; else why not, in words of what stands in its place
// where they say it better than the system's "File exists": a file, a link
// to nothing.
std::string MakeFolder(const std::filesystem::path& folder);
