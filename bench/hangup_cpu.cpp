// CPU cost of a serial port whose line is gone or silent. A hung-up device
// must end every wait at once and a silent one must sleep in poll(); either
// failing shows here as a busy core.
//
//   bench-hangup_cpu [seconds]   (default 10 s for the hung-up phase)
//
// The hung-up phase paces its exchanges like the polling cycle, one per 220 ms
// tick: a failed exchange returns at once, so back-to-back exchanges would
// measure only this loop. The silent phase runs its exchanges back to back,
// since each one waits out its whole budget.

#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "serial/SerialPort.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double BoundPercent = 5.0;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One exchange as the protocol makes it: a six-byte frame with its echo, then
// a ten-byte reply.
void Exchange(SerialPort& port) {
    std::array<std::uint8_t, 16> buffer{0x09, 0x80, 0, 0, 0, 0x89};
    port.Write(buffer.data(), 6);
    port.Read(buffer.data(), 10);
}

struct Pty {
    int master = -1, slave = -1;
    std::string device;
    Pty() {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
            std::perror("openpty");
            std::exit(2);
        }
        device = name;
    }
    ~Pty() {
        if (master >= 0) close(master);
        close(slave);
    }
};

bool OpenOn(SerialPort& port, const Pty& pty) {
    if (port.Open(pty.device).Opened()) return true;
    std::fprintf(stderr, "could not open %s\n", pty.device.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const double hangupSeconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    bool withinBounds = true;

    {
        Pty pty;
        SerialPort port;
        if (!OpenOn(port, pty)) return 2;
        close(pty.master);  // the adapter is unplugged
        pty.master = -1;

        int exchanges = 0;
        Clock::duration busy{};
        const double cpuStart = CpuSeconds();
        const auto start = Clock::now();
        while (SecondsSince(start) < hangupSeconds) {
            const auto tick = Clock::now();
            Exchange(port);
            busy += Clock::now() - tick;
            ++exchanges;
            std::this_thread::sleep_until(tick + 220ms);
        }
        const double wall = SecondsSince(start);
        const double percent = 100.0 * (CpuSeconds() - cpuStart) / wall;
        std::printf("hangup: %d exchanges at the 220 ms tick over %.1f s, %.1f us each\n",
                    exchanges, wall,
                    std::chrono::duration<double, std::micro>(busy).count() / exchanges);
        std::printf("hangup cpu: %.2f%% of one core (bound %.0f%%)\n", percent, BoundPercent);
        withinBounds = withinBounds && percent <= BoundPercent;
    }

    {
        Pty pty;
        SerialPort port;
        if (!OpenOn(port, pty)) return 2;
        constexpr int Exchanges = 10;
        const double cpuStart = CpuSeconds();
        const auto start = Clock::now();
        for (int i = 0; i < Exchanges; ++i) Exchange(port);
        const double wall = SecondsSince(start);
        const double percent = 100.0 * (CpuSeconds() - cpuStart) / wall;
        std::printf("silent: %d exchanges over %.2f s, %.0f ms each\n", Exchanges, wall,
                    wall * 1000 / Exchanges);
        std::printf("silent cpu: %.2f%% of one core (bound %.0f%%)\n", percent, BoundPercent);
        withinBounds = withinBounds && percent <= BoundPercent;
    }
    return withinBounds ? 0 : 1;
}
