#pragma once
// Waiting on a tty descriptor without spinning: the calling thread sleeps in
// ppoll() until the line is ready, the deadline passes or the device is gone.

#include "serial/Deadline.h"

enum class TtyWait {
    Ready,     // the asked-for direction can make progress
    TimedOut,  // nothing happened before the deadline
    HungUp,    // the device went away (unplugged adapter, closed pty master)
};

// Waits for input (POLLIN) or output room (POLLOUT) on fd.
TtyWait WaitForInput(int fd, const Deadline& deadline);
TtyWait WaitForOutput(int fd, const Deadline& deadline);
