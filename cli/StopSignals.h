#pragma once
// Stopping a command that holds the port: Ctrl+C, Ctrl+\ or Ctrl+Break,
// termination and a closed terminal or console window. The stops are taken
// synchronously while the object lives, so an exchange is never cut in half
// and the port is closed by the normal unwinding, which also gives its
// exclusive mode back.

#include <memory>

class StopSignals {
public:
    StopSignals();
    ~StopSignals();  // gives the stops back to their previous handling
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // True once a stop has arrived.
    bool Requested() { return WaitMs(0); }
    // Waits up to ms milliseconds; true, at once, when a stop arrives.
    bool WaitMs(int ms);

    // The exit status of a command run under these stops: its own, or 128 +
    // the signal (as a shell reports one) when a stop arrived meanwhile. The
    // stops of a Windows console count as the signals of the same keys: Ctrl+C
    // as SIGINT (130), Ctrl+Break as SIGQUIT (131), a closed window as SIGHUP (129).
    int Outcome(int status) { return Requested() ? 128 + signal_ : status; }

private:
    // How the platform holds the stops back: a blocked signal set (SIGINT,
    // SIGTERM, SIGHUP, SIGQUIT) on POSIX systems, a console control handler
    // on Windows.
    struct Platform;
    std::unique_ptr<Platform> platform_;
    int signal_ = 0;  // the stop that arrived; 0 before one did
};
