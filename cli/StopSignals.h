#pragma once
// Ctrl+C and termination for the commands that run until stopped. The
// signals are blocked while the object lives and taken synchronously, so an
// exchange is never cut in half and the port is closed by the normal unwinding.

#include <signal.h>

class StopSignals {
public:
    StopSignals();
    ~StopSignals();  // restores the previous signal mask
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // True once SIGINT or SIGTERM has arrived.
    bool Requested();
    // Waits up to ms milliseconds; true, at once, when a stop arrives.
    bool WaitMs(int ms);

private:
    sigset_t stopSet_{};
    sigset_t previous_{};
    bool requested_ = false;
};
