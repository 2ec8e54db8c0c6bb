#pragma once
// A byte link that is one of several named ports, listed, opened and closed by
// name: the machine's serial port, or a scripted one in tests. The line object
// above it knows nothing else of the port.

#include <string>
#include <vector>

#include "serial/ByteLink.h"
#include "serial/OpenResult.h"

class PortLink : public ByteLink {
public:
    // Fills PortNames with the ports a user may pick, in the order to show them.
    virtual void ListPorts() = 0;
    virtual const std::vector<std::string>& PortNames() const = 0;

    // Opens the port of that name; does nothing when one is open (AlreadyOpen).
    virtual OpenResult Open(const std::string& name) = 0;
    // Closes; nothing on a closed port. False when the system refused to let
    // go (CloseFailedMessage); the port counts as closed all the same.
    virtual bool Close() = 0;
    virtual bool IsOpen() const = 0;
    // The device went away while open (an unplugged adapter): every transfer
    // fails at once until the port is closed and opened again.
    virtual bool IsHungUp() const = 0;
    // The name the open port was opened by, and the device behind it; both
    // empty when closed (the device also while lost).
    virtual const std::string& Name() const = 0;
    virtual const std::string& Device() const = 0;

    // For a hung-up port: opens what its name now stands for, without
    // messages. True when that worked; otherwise it stays open and hung up.
    virtual bool Reopen() = 0;
    // Lets go of the device but keeps the port counted as open and hung up,
    // for a reopened device that did not answer.
    virtual void LetGoOfDevice() = 0;
};
