#pragma once
// The standard streams of the tool as each system has them: the text it
// writes is UTF-8, and a reader that goes away ends the run through a failed
// write rather than killing it with the port held.

#include <memory>

// Sets the streams up for the run and gives the console back its own
// settings at the end. One object, living for the whole of main.
class ConsoleSession {
public:
    ConsoleSession();
    ~ConsoleSession();
    ConsoleSession(const ConsoleSession&) = delete;
    ConsoleSession& operator=(const ConsoleSession&) = delete;

private:
    struct Previous;  // what the console had before; nothing on POSIX systems
    std::unique_ptr<Previous> previous_;
};

// True when standard output is a terminal that takes the escape sequences
// which redraw the screen in place.
bool OutputIsTerminal();
// True when standard error is a terminal (or console): someone watches it,
// so progress may be shown there.
bool ErrorsAreTerminal();
// True when standard input is a terminal: a question can be asked.
bool InputIsTerminal();
