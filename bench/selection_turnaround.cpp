// Where the time over the line time of a parameter selection goes: the tool's
// selection (purge, frame, echo, status byte, with its waits) against a bare
// exchange of the same bytes that waits for nothing but poll(), with and
// without the purge before it, on the same simulator pacing at 38400 baud.
// What all share is the simulator's turnaround and the pseudo-terminal's
// hand-over; the purge and the tool's waits are told apart.
//
//   bench-selection_turnaround

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "LineTiming.h"
#include "SimulatedLine.h"
#include "protocol/Exchange.h"

namespace {

constexpr int Rounds = 10;
constexpr int PerRound = 100;
constexpr std::size_t LineBytes = FrameSize + 1;  // frame with its echo, status byte

// Frame out, then poll() and read() until echo and status are in.
bool BareExchange(int fd, const RequestFrame& frame) {
    if (::write(fd, frame.Bytes.data(), FrameSize) != static_cast<ssize_t>(FrameSize)) return false;
    std::size_t got = 0;
    std::uint8_t bytes[32];
    while (got < LineBytes) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 200) <= 0) return false;
        const ssize_t r = ::read(fd, bytes, sizeof bytes);
        if (r > 0) got += static_cast<std::size_t>(r);
    }
    return true;
}

}  // namespace

int main() {
    bench::SimulatedLine line;
    if (!line.Open()) return 1;
    line.Simulator.AddLiveAddress(0x0100, 1);
    const RequestFrame frame = Frames::Select(0, 0x0100);
    // A second descriptor of the same device for the bare exchange; the tool's
    // port is idle meanwhile (the lock only keeps other SerialPorts out).
    const int bare = ::open(line.Simulator.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios raw{};
    if (bare < 0 || ::tcgetattr(bare, &raw) != 0) return 1;
    ::cfmakeraw(&raw);
    ::tcsetattr(bare, TCSANOW, &raw);

    // Alternating rounds, so that all see the same load of the machine.
    std::vector<double> tool, plain, purged;
    int failures = 0;
    for (int round = 0; round < Rounds; ++round) {
        for (int i = 0; i < PerRound; ++i) {
            const double start = bench::WallMs();
            if (ExchangeStatus(line.Line.Link(), frame) != SelectAccepted) ++failures;
            tool.push_back(bench::WallMs() - start);
        }
        for (const bool purge : {false, true}) {
            for (int i = 0; i < PerRound; ++i) {
                if (!purge) ::tcflush(bare, TCIOFLUSH);  // outside the timing
                const double start = bench::WallMs();
                if (purge) ::tcflush(bare, TCIOFLUSH);
                if (!BareExchange(bare, frame)) ++failures;
                (purge ? purged : plain).push_back(bench::WallMs() - start);
            }
        }
    }
    ::close(bare);
    const double bound = static_cast<double>(LineBytes) * bench::ByteMs;
    const double toolOver = (bench::Median(tool) - bound) * 1e3;
    const double plainOver = (bench::Median(plain) - bound) * 1e3;
    const double purgedOver = (bench::Median(purged) - bound) * 1e3;
    std::printf("one selection (frame, echo, status byte): %d of each, %d failed\n",
                Rounds * PerRound, failures);
    std::printf("  line-time bound       %8.3f ms\n", bound);
    std::printf("  tool, over the bound  %8.1f us (ratio %.3f)\n", toolOver,
                bench::Median(tool) / bound);
    std::printf("  bare, over the bound  %8.1f us: simulator turnaround and pty hand-over\n",
                plainOver);
    std::printf("  the purge before it   %8.1f us\n", purgedOver - plainOver);
    std::printf("  the tool's waits      %8.1f us\n", toolOver - purgedOver);
    return failures == 0 ? 0 : 1;
}
