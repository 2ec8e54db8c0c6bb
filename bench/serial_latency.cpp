// How long after the last byte of a reply a counted read returns, on a line
// paced at 38400 baud (10 bits a byte). A thread on the pseudo-terminal's
// master plays the line and the ECU: it echoes the six-byte frame and sends a
// reply, one byte at a time at line speed.
//
//   bench-serial_latency [exchanges] [reply bytes]   (default 200 and 34)

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "serial/SerialPort.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr auto ByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / 38400);
constexpr std::size_t FrameBytes = 6;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int exchanges = argc > 1 ? std::atoi(argv[1]) : 200;
    const std::size_t replyBytes = argc > 2 ? static_cast<std::size_t>(std::atoi(argv[2])) : 34;

    int master = -1, slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 2;
    }
    SerialPort port;
    if (!port.Open(name).Opened()) return 2;

    std::atomic<Clock::rep> lastByteAt{0};
    std::jthread line([&](std::stop_token stop) {
        std::uint8_t frame[FrameBytes];
        while (!stop.stop_requested()) {
            std::size_t got = 0;
            while (got < FrameBytes && !stop.stop_requested()) {
                pollfd entry{master, POLLIN, 0};
                if (poll(&entry, 1, 50) <= 0) continue;
                const ssize_t r = read(master, frame + got, FrameBytes - got);
                if (r <= 0) return;
                got += static_cast<std::size_t>(r);
            }
            if (got < FrameBytes) return;
            std::vector<std::uint8_t> out(frame, frame + FrameBytes);
            out.resize(FrameBytes + replyBytes, 0x55);
            auto due = Clock::now();
            for (std::uint8_t byte : out) {
                due += ByteTime;
                std::this_thread::sleep_until(due);
                if (write(master, &byte, 1) != 1) return;
            }
            lastByteAt = Clock::now().time_since_epoch().count();
        }
    });

    std::vector<double> exchangeMs, lateUs;
    std::vector<std::uint8_t> buffer(FrameBytes + replyBytes);
    int failed = 0;
    for (int i = 0; i < exchanges; ++i) {
        std::copy_n(std::begin({0x09, 0x84, 0, 0, 0, 0x8D}), FrameBytes, buffer.begin());
        const auto start = Clock::now();
        const bool ok = port.Write(buffer.data(), FrameBytes) == FrameBytes &&
                        port.Read(buffer.data(), replyBytes) == replyBytes;
        const auto end = Clock::now();
        if (!ok) {
            ++failed;
            continue;
        }
        exchangeMs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        const auto last = Clock::time_point(Clock::duration(lastByteAt.load()));
        lateUs.push_back(std::chrono::duration<double, std::micro>(end - last).count());
    }
    line.request_stop();
    if (exchangeMs.empty()) {
        std::printf("no exchange succeeded\n");
        return 1;
    }

    const double lineMs =
        std::chrono::duration<double, std::milli>(ByteTime * (FrameBytes + replyBytes)).count();
    const double median = Median(exchangeMs);
    std::printf("paced line: %zu exchanges of %zu + %zu bytes, %d failed\n", exchangeMs.size(),
                FrameBytes, replyBytes, failed);
    std::printf("exchange: median %.3f ms for %.3f ms of line time (+%.1f%%)\n", median, lineMs,
                100.0 * (median - lineMs) / lineMs);
    std::printf("read returned after the last byte: median %.0f us, max %.0f us\n", Median(lateUs),
                *std::max_element(lateUs.begin(), lateUs.end()));
    close(slave);
    return failed == 0 ? 0 : 1;
}
