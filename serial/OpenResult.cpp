#include "serial/OpenResult.h"

std::string MessagePart(const std::string& message) {
    std::string part = message;
    if (!part.empty() && part.front() >= 'A' && part.front() <= 'Z')
        part.front() = static_cast<char>(part.front() - 'A' + 'a');
    while (!part.empty() && part.back() == '.') part.pop_back();
    return part;
}

std::string OpenFailureText(OpenOutcome outcome, const std::string& reason) {
    switch (outcome) {
        case OpenOutcome::Opened:
        case OpenOutcome::AlreadyOpen:
            return "is open";
        case OpenOutcome::NoSuchPort:
            return "no such device";
        case OpenOutcome::InUse:
            return "in use by another program";
        case OpenOutcome::PermissionDenied:
            return "permission denied (add your user to the group dialout and log in again)";
        case OpenOutcome::CannotOpen:
            return reason.empty() ? "cannot be opened"
                                  : "cannot be opened (" + MessagePart(reason) + ")";
        case OpenOutcome::NotConfigured:
            return "cannot be set up as a serial line";
    }
    return "cannot be opened";
}
