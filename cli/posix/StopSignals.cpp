#include "cli/StopSignals.h"

#include <ctime>
#include <initializer_list>

StopSignals::StopSignals() {
    sigemptyset(&stopSet_);
    for (int stop : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&stopSet_, stop);
    sigprocmask(SIG_BLOCK, &stopSet_, &previous_);
}

StopSignals::~StopSignals() {
    sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

bool StopSignals::Requested() {
    return WaitMs(0);
}

bool StopSignals::WaitMs(int ms) {
    if (signal_ != 0) return true;
    timespec timeout{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    // An unrelated signal (EINTR) only shortens this one pause.
    const int taken = sigtimedwait(&stopSet_, nullptr, &timeout);
    if (taken > 0) signal_ = taken;
    return signal_ != 0;
}

int StopSignals::Outcome(int status) {
    return Requested() ? 128 + signal_ : status;
}
