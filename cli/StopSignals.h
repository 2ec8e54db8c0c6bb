#pragma once
// Stopping a command that holds the port: Ctrl+C (SIGINT), termination
// (SIGTERM), a closed terminal (SIGHUP) and Ctrl+\ (SIGQUIT). The signals are
// blocked while the object lives and taken synchronously, so an exchange is
// never cut in half and the port is closed by the normal unwinding, which also
// gives its exclusive mode back.

#include <signal.h>

class StopSignals {
public:
    StopSignals();
    ~StopSignals();  // restores the previous signal mask
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // True once a stop signal has arrived.
    bool Requested();
    // Waits up to ms milliseconds; true, at once, when a stop arrives.
    bool WaitMs(int ms);

    // The exit status of a command run under these signals: its own, or
    // 128 + the signal (as a shell reports one) when a stop arrived meanwhile.
    int Outcome(int status);

private:
    sigset_t stopSet_{};
    sigset_t previous_{};
    int signal_ = 0;  // the stop that arrived; 0 before one did
};
