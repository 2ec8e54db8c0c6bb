// What the port does the same way on every platform: the list of names, and
// how open, lost and closed follow each other. The device itself is handled
// by the platform's sources (posix/ or win32/).

#include "serial/SerialPort.h"

#include "serial/PortNamespace.h"

void SerialPort::ListPorts() {
    portNames_.clear();
    for (PortEntry& entry : ListPortEntries(base_)) portNames_.push_back(std::move(entry.Name));
}

void SerialPort::Open(const std::string& name) {
    if (isOpen_) {
        lastOpen_ = OpenOutcome::AlreadyOpen;
        return;
    }
    lastOpen_ = OpenDevice(name, false);
}

OpenOutcome SerialPort::OpenDevice(const std::string& name, bool quiet) {
    const std::string device = ResolvePortName(name, base_);
    if (device.empty()) return OpenOutcome::NoSuchPort;
    // A device in use stays closed without a message, as one whose open failed.
    const OpenOutcome acquired = AcquireDevice(device);
    if (acquired != OpenOutcome::Opened) return acquired;
    // A failed line-state step is reported and the open goes on, as the
    // window always did; a background reopen takes only a device that
    // configures cleanly.
    const bool stateRead = GetLineState(quiet);
    const bool lineSet = (stateRead || !quiet) && SetLineState(quiet);
    if ((quiet && !lineSet) || !SetReadTiming(quiet)) {
        if (HoldsDevice()) ReleaseHandle();
        return OpenOutcome::NotConfigured;
    }
    device_ = device;
    name_ = name;
    hungUp_ = false;
    Purge();
    isOpen_ = true;
    return OpenOutcome::Opened;
}

bool SerialPort::Reopen() {
    if (!IsHungUp()) return false;
    const std::string name = name_;
    if (HoldsDevice()) ReleaseHandle();  // the dead descriptor
    isOpen_ = false;
    if (OpenDevice(name, true) == OpenOutcome::Opened) return true;
    isOpen_ = true;
    hungUp_ = true;
    name_ = name;
    device_.clear();
    return false;
}

void SerialPort::LetGoOfDevice() {
    if (!isOpen_) return;
    if (HoldsDevice()) {
        Purge();
        ReleaseHandle();
    }
    hungUp_ = true;
    device_.clear();
}

void SerialPort::Close() {
    if (!isOpen_) return;
    name_.clear();
    if (!HoldsDevice()) {  // a lost port that let go of its device
        isOpen_ = false;
        hungUp_ = false;
        return;
    }
    Purge();
    // The device is let go of even when the system reports an error: keeping
    // the port "open" on a released descriptor or handle would make a later
    // Close close whatever has been given that number since.
    const bool closed = ReleaseHandle();
    isOpen_ = false;
    hungUp_ = false;
    device_.clear();
    if (!closed) sink_.ShowError("Failed to close.");
}
