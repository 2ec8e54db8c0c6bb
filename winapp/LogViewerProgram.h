#pragma once
// The log viewer alone (`vmxdiag.exe --open-log FILE`), and what it shares
// with the main window: the user's decimal separator.

#include <windows.h>

#include <filesystem>
#include <string>

// The decimal separator of the user's regional settings, UTF-8.
std::string UserDecimalSeparator();

// The trend window without the main window and without a port, showing the
// log `file` with the names, units and ranges of database.ini in `folder`
// (only read), until it is closed; 0 then. A file that is no log is said in
// a box, and 1 is returned.
int RunLogViewer(HINSTANCE instance, const std::filesystem::path& folder,
                 const std::filesystem::path& file);
