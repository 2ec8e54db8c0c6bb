#pragma once
// The tty side of SerialPort: its descriptor and termios records.

#include <termios.h>

#include "serial/SerialPort.h"

struct SerialPort::Platform {
    int Handle = -1;
    // This port put the tty into exclusive mode and so owes it the release.
    bool SetExclusive = false;
    // Kept between opens: a failed read of the line state leaves the previous
    // port's settings here.
    termios LineSettings{};
    // The device's own settings as this open found them, owed back at release;
    // only when they could be read.
    termios FoundSettings{};
    bool OwesFoundSettings = false;

    // Clears the tty's exclusive mode, but only when this port set it.
    void DropExclusiveMode();
};
