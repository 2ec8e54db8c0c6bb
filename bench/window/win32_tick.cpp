// The Windows window polling the ECU of its folder's first port that answers
// (under Wine: the paced simulator behind the prefix's COM port): one live tick
// of the first page (the set already selected) against its line time, and the
// CPU the process takes over a stretch of polling every 220 ms on the real
// timer. bench/wine_window.sh runs it on a virtual X display beside the Qt
// window's benchmark.
//
//   bench-window_win32 [seconds of polling, default 30]   (in a folder with database.ini)

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "LineTiming.h"
#include "TickFigures.h"
#include "protocol/Exchange.h"
#include "protocol/RequestFrame.h"
#include "winapp/MainForm.h"

namespace {

// Whatever the window has waiting: painting, timer ticks.
void DispatchWaiting() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return static_cast<double>(static_cast<ULONGLONG>(t.dwHighDateTime) << 32 |
                                   t.dwLowDateTime) /
               1e4;
    };
    return ms(kernel) + ms(user);
}

// Polling on the real timer, as a user leaves the window running.
void MeasurePolling(TMainForm& form, int seconds) {
    const UINT_PTR end = ::SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000,
                                    [](HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(0); });
    const double cpuStart = ProcessCpuMs();
    const double wallStart = bench::WallMs();
    form.Run();
    const double wall = bench::WallMs() - wallStart;
    ::KillTimer(nullptr, end);
    std::printf("Windows window polling the first page for %.1f s at %d ms\n", wall / 1e3,
                WindowBehaviour::TickMs);
    std::printf("  process CPU       %8.3f %% of one core (target < 0.2 %%)\n",
                100.0 * (ProcessCpuMs() - cpuStart) / wall);
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    WindowBehaviour::Options options;
    options.Directory = std::filesystem::current_path();
    TMainForm form(::GetModuleHandleW(nullptr), options);
    form.Show(SW_SHOW);
    DispatchWaiting();
    form.Behaviour().ADiagExecute();
    form.Behaviour().Timer1Timer();  // selects the set: not part of the measured tick
    DispatchWaiting();
    const bool linked = MeasureTicks(form.Behaviour(),
                                     "Windows window live tick (block read, values into the list)",
                                     FrameSize + 2 + ReplyLength::LiveBlock, DispatchWaiting);
    MeasurePolling(form, seconds);
    return linked ? 0 : 1;
}
