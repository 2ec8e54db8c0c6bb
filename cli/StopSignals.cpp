#include "cli/StopSignals.h"

#include <ctime>

StopSignals::StopSignals() {
    sigemptyset(&stopSet_);
    sigaddset(&stopSet_, SIGINT);
    sigaddset(&stopSet_, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSet_, &previous_);
}

StopSignals::~StopSignals() {
    sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

bool StopSignals::Requested() {
    return WaitMs(0);
}

bool StopSignals::WaitMs(int ms) {
    if (requested_) return true;
    timespec timeout{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    // An unrelated signal (EINTR) only shortens this one pause.
    requested_ = sigtimedwait(&stopSet_, nullptr, &timeout) > 0;
    return requested_;
}
