#pragma once
// Which paths a line recording may be written to, by name, before anything is
// opened. A recording into database.ini would replace the definitions the
// next start reads; and Windows opens the device, not a file, for names such
// as NUL, COM1 or COM1.rec in any folder. Those names are refused on every
// system, so that a recording made on one can be copied to the other.
// Whatever is no regular file is refused when the file is created
// (platform/WritableFile.h).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// A name Windows takes as a device whatever its folder, letter case or
// extension: CON, PRN, AUX, NUL, COM0 to COM9 and LPT0 to LPT9 (with the
// superscript digits ¹ ² ³ too), blanks before the extension included.
bool IsWindowsDeviceName(std::string_view fileName);

// Why `path` may not take a recording, or nothing when it may. A file named
// database.ini is refused anywhere, and so is `definitionFile` under any
// other name (a link to it); an empty definitionFile is not compared.
std::optional<std::string> RecordingPathRefusal(const std::filesystem::path& path,
                                                const std::filesystem::path& definitionFile);
