#pragma once
// The simulator's pseudo-terminal: the tool opens the slave device, the ECU
// reads and writes the master side. The slave is raw, and the simulator holds a
// slave descriptor of its own so that the master stays usable while the tool
// closes and reopens the device.

#include <string>

#include "sim/posix/FileDescriptor.h"

class PseudoTerminal {
public:
    // Opens the pair; throws std::runtime_error with the failing call on error.
    PseudoTerminal();

    const std::string& SlavePath() const { return slavePath_; }
    // Non-blocking master side; -1 after HangUp.
    int MasterFd() const { return master_.Get(); }

    // Becomes readable whenever some descriptor of the slave device is closed;
    // -1 when that cannot be watched or after HangUp.
    int CloseWatchFd() const { return closeWatch_.Get(); }
    // Drains the close notifications and, when asked, lifts the tool's
    // exclusive-open mark.
    void OnSlaveClosed(bool liftExclusiveMark);
    void LiftExclusiveMark();
    // Whether the device carries an exclusive-open mark (TIOCEXCL) now.
    bool IsExclusive() const;
    // Whether bytes the tool sent wait on the master, not yet read.
    bool HasUnreadInput() const;

    // Closes the master and the held slave: the tool's descriptor is hung up.
    void HangUp();
    bool IsHungUp() const { return !master_.IsOpen(); }

private:
    FileDescriptor master_;
    FileDescriptor heldSlave_;
    FileDescriptor closeWatch_;
    std::string slavePath_;
};
