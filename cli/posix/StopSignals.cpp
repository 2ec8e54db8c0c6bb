#include "cli/StopSignals.h"

#include <signal.h>

#include <ctime>
#include <initializer_list>

struct StopSignals::Platform {
    sigset_t StopSet{};
    sigset_t Previous{};
};

StopSignals::StopSignals() : platform_(std::make_unique<Platform>()) {
    sigemptyset(&platform_->StopSet);
    for (int stop : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&platform_->StopSet, stop);
    sigprocmask(SIG_BLOCK, &platform_->StopSet, &platform_->Previous);
}

StopSignals::~StopSignals() {
    sigprocmask(SIG_SETMASK, &platform_->Previous, nullptr);
}

bool StopSignals::WaitMs(int ms) {
    if (signal_ != 0) return true;
    timespec timeout{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    // An unrelated signal (EINTR) only shortens this one pause.
    const int taken = sigtimedwait(&platform_->StopSet, nullptr, &timeout);
    if (taken > 0) signal_ = taken;
    return signal_ != 0;
}
