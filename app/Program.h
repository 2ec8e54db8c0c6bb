#pragma once
// The program around the window.

#include <filesystem>

#include "window/WindowBehaviour.h"

class WindowMessages;

// Creates the window (database.ini and the ports of options.Directory, the
// recording of options.RecordPath), shows it and runs the application's loop
// until the window is closed; returns 0 then. A failure that escapes the
// window's creation or the loop (such as an "Address" of database.ini that is
// not hexadecimal) is shown in a message box, and 1 is returned. Needs a
// QApplication.
int RunMainForm(WindowMessages& messages, const WindowBehaviour::Options& options);

// The log viewer alone (`vmxdiag --open-log FILE`): the trend window without
// the main window and without a port, showing the log `file` with the names,
// units and ranges of database.ini in `folder` (only read), until it is
// closed; returns 0 then. A file that is no log is said in a box, and 1 is
// returned. Needs a QApplication.
int RunLogViewer(WindowMessages& messages, const std::filesystem::path& folder,
                 const std::filesystem::path& file);
