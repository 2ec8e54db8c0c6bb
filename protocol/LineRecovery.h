#pragma once
// Bringing a lost line back: when the adapter is unplugged, every transfer on
// the old descriptor fails for good, so the port is opened again by its name
// (which a replugged adapter may have moved to another device) and the ECU
// probed before the port is used again.

#include "protocol/EcuProtocol.h"
#include "serial/SerialPort.h"

enum class LineRecovery {
    NotLost,    // the port had not hung up (or is closed): nothing was done
    StillLost,  // the name stands for no device, or the device did not answer
    Restored,   // the port is open on the device behind its name and the ECU answered
};

// One attempt, for the start of a tick. A device that opens but does not
// answer the probe is let go again with its line settings restored, so an
// unrelated terminal that took the old device's place is left as it was; the
// port then stays lost (open and hung up) for the next attempt.
LineRecovery RecoverLostLine(SerialPort& port, EcuProtocol& ecu);
