#include "cli/Console.h"

#include <windows.h>

struct ConsoleSession::Previous {
    UINT OutputCodePage = 0;
    DWORD OutputMode = 0;
    bool HadMode = false;
};

namespace {

HANDLE StandardOutput() {
    return ::GetStdHandle(STD_OUTPUT_HANDLE);
}

}  // namespace

// The console shows the bytes written to it in its own code page (an OEM one,
// cp866 on a Russian system): it is set to UTF-8 for the run, and asked to
// take the escape sequences that redraw the screen. A pipe or a file gets the
// UTF-8 bytes as they are; a reader that goes away fails the next write.
ConsoleSession::ConsoleSession() : previous_(std::make_unique<Previous>()) {
    previous_->OutputCodePage = ::GetConsoleOutputCP();
    if (previous_->OutputCodePage != 0) ::SetConsoleOutputCP(CP_UTF8);
    DWORD mode = 0;
    if (::GetConsoleMode(StandardOutput(), &mode)) {
        previous_->OutputMode = mode;
        previous_->HadMode = true;
        ::SetConsoleMode(StandardOutput(), mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
}

// The console outlives the run, and the shell that started it reads its own
// code page back.
ConsoleSession::~ConsoleSession() {
    if (previous_->HadMode) ::SetConsoleMode(StandardOutput(), previous_->OutputMode);
    if (previous_->OutputCodePage != 0) ::SetConsoleOutputCP(previous_->OutputCodePage);
}

// A console that refused the escape sequences (before Windows 10) would show
// them as text: its output is then written as one block after another.
bool OutputIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(StandardOutput(), &mode) &&
           (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

bool ErrorsAreTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

bool InputIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}
