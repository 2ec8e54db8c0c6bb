#include "cli/StopSignals.h"

#include <windows.h>

#include <atomic>

namespace {

// The console calls its control handlers on a thread of its own, from one
// list for the whole process; so the stops are kept once per process too, and
// never freed, since that thread may still look at them as the process ends.
struct ConsoleStops {
    HANDLE Arrived = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE Unwound = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> Signal{0};
    std::atomic<bool> Taken{false};  // a StopSignals lives and takes the stops
};

ConsoleStops& ProcessStops() {
    static ConsoleStops stops;
    return stops;
}

// How long a closed console window waits for the run to close its port; the
// system ends the process after five seconds whatever happens.
constexpr DWORD UnwindWaitMs = 4000;

BOOL WINAPI OnConsoleControl(DWORD control) {
    int signal = 0;
    switch (control) {
        case CTRL_C_EVENT:
            signal = 2;  // SIGINT
            break;
        case CTRL_BREAK_EVENT:
            signal = 3;  // SIGQUIT, the other stop key
            break;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            signal = 1;  // SIGHUP
            break;
        default:
            return FALSE;
    }
    ConsoleStops& stops = ProcessStops();
    if (!stops.Taken.load()) return FALSE;
    int none = 0;
    stops.Signal.compare_exchange_strong(none, signal);
    ::SetEvent(stops.Arrived);
    // The process ends as soon as this returns from a close: the run first
    // unwinds and closes the port.
    if (signal == 1) ::WaitForSingleObject(stops.Unwound, UnwindWaitMs);
    return TRUE;
}

}  // namespace

struct StopSignals::Platform {
    ConsoleStops& Stops = ProcessStops();
};

StopSignals::StopSignals() : platform_(std::make_unique<Platform>()) {
    ConsoleStops& stops = platform_->Stops;
    ::ResetEvent(stops.Arrived);
    ::ResetEvent(stops.Unwound);
    stops.Signal.store(0);
    stops.Taken.store(true);
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

StopSignals::~StopSignals() {
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    platform_->Stops.Taken.store(false);
    ::SetEvent(platform_->Stops.Unwound);
}

bool StopSignals::WaitMs(int ms) {
    if (signal_ != 0) return true;
    ::WaitForSingleObject(platform_->Stops.Arrived, static_cast<DWORD>(ms < 0 ? 0 : ms));
    signal_ = platform_->Stops.Signal.load();
    return signal_ != 0;
}
