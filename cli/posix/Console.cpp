#include "cli/Console.h"

#include <unistd.h>

#include <csignal>

struct ConsoleSession::Previous {};

// The terminal takes UTF-8 as it is. Without the signal, a reader that goes
// away (`| head`) would kill the process at its next write.
ConsoleSession::ConsoleSession() {
    std::signal(SIGPIPE, SIG_IGN);
}

ConsoleSession::~ConsoleSession() = default;

bool OutputIsTerminal() {
    return isatty(STDOUT_FILENO) == 1;
}

bool ErrorsAreTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

bool InputIsTerminal() {
    return isatty(STDIN_FILENO) == 1;
}
