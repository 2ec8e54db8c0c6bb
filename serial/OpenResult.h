#pragma once
// What opening a port did.

#include <string>
#include <vector>

// How an Open went, for front ends that say why a port is not usable.
enum class OpenOutcome {
    Opened,
    AlreadyOpen,       // another device was open; nothing changed
    NoSuchPort,        // the name stands for no device, or the device is not there
    InUse,             // another program holds the device
    PermissionDenied,  // the user may not open the device
    CannotOpen,        // the device refused to open (a driver error)
    NotConfigured,     // it opened, but its read timing could not be set
};

// What an Open did, and the port's messages on the way, in order: the texts
// the window shows in its "Error" boxes. A port may open with messages (its
// line state could not be read or set), or fail with them (its timing).
struct OpenResult {
    OpenOutcome Outcome = OpenOutcome::NoSuchPort;
    std::vector<std::string> Messages;
    // The device the name stood for, opened or not; empty when it stands for none.
    std::string Device;
    // The system's words when the device refused to open (CannotOpen): "Is a
    // directory", ...; empty otherwise.
    std::string Reason;
    bool Opened() const { return Outcome == OpenOutcome::Opened; }
};

// The message of a Close whose release the system refused.
inline constexpr const char* CloseFailedMessage = "Failed to close.";

// Why a port did not open, for a sentence about it: "no such device", "in use
// by another program", "cannot be opened (is a directory)" with the system's
// reason of a refusal, ... Beside the outcome, since the line's recording
// notes a port that did not open in these words too.
std::string OpenFailureText(OpenOutcome outcome, const std::string& reason = {});

// A message of the port as a part of a sentence: "Could not retrieve serial
// port state." becomes "could not retrieve serial port state".
std::string MessagePart(const std::string& message);
