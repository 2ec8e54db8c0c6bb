// What the port does the same way on every platform: the list of names, and
// how open, lost and closed follow each other. The device itself is handled
// by the platform's sources (posix/ or win32/).

#include "serial/SerialPort.h"

#include "serial/PortNamespace.h"

void SerialPort::ListPorts() {
    portNames_.clear();
    for (PortEntry& entry : ListPortEntries(base_)) portNames_.push_back(std::move(entry.Name));
}

OpenResult SerialPort::Open(const std::string& name) {
    if (isOpen_) return {OpenOutcome::AlreadyOpen, {}, {}, {}};
    return OpenDevice(name, false);
}

OpenResult SerialPort::OpenDevice(const std::string& name, bool strict) {
    OpenResult result;
    const std::string device = ResolvePortName(name, base_);
    if (device.empty()) return result;
    result.Device = device;
    // A device in use stays closed without a message, as one whose open failed.
    result.Outcome = AcquireDevice(device, result.Reason);
    if (!result.Opened()) return result;
    // A failed line-state step is reported and the open goes on, as the
    // window always did.
    const bool stateRead = GetLineState();
    if (!stateRead) result.Messages.emplace_back("Could not retrieve serial port state.");
    const bool lineSet = (stateRead || !strict) && SetLineState();
    if (!lineSet && !strict) result.Messages.emplace_back("Could not modify serial port state.");
    if (strict && !lineSet) {
        ReleaseHandle();
        result.Outcome = OpenOutcome::NotConfigured;
        return result;
    }
    switch (SetReadTiming()) {
        case TimingStep::Set:
            break;
        case TimingStep::NotRetrieved:
            result.Messages.emplace_back("Failed to retrieve timeouts.");
            result.Outcome = OpenOutcome::NotConfigured;
            return result;
        case TimingStep::NotModified:
            result.Messages.emplace_back("Failed to modify timeouts.");
            result.Outcome = OpenOutcome::NotConfigured;
            return result;
    }
    device_ = device;
    name_ = name;
    hungUp_ = false;
    Purge();
    isOpen_ = true;
    return result;
}

bool SerialPort::Reopen() {
    if (!IsHungUp()) return false;
    const std::string name = name_;
    if (HoldsDevice()) ReleaseHandle();  // the dead descriptor
    isOpen_ = false;
    if (OpenDevice(name, true).Opened()) return true;
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

bool SerialPort::Close() {
    if (!isOpen_) return true;
    name_.clear();
    if (!HoldsDevice()) {  // a lost port that let go of its device
        isOpen_ = false;
        hungUp_ = false;
        return true;
    }
    Purge();
    // The device is let go of even when the system reports an error: keeping
    // the port "open" on a released descriptor or handle would make a later
    // Close close whatever has been given that number since.
    const bool closed = ReleaseHandle();
    isOpen_ = false;
    hungUp_ = false;
    device_.clear();
    return closed;
}
