// How close the paced simulator keeps to the line time of 38400 baud: for each
// request, the median time from writing the frame to holding its echo and whole
// reply, against (6 + reply) byte times. The tool's own exchange can be no
// faster than this, so its benchmark has only the rest of its margin.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "sim/posix/EcuSimulator.h"
#include "support/RawDevice.h"

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    EcuSimulator sim;
    RawDevice device(sim.DevicePath());
    if (!device.IsOpen()) return 1;
    struct Case {
        const char* Name;
        RequestFrame Frame;
        std::size_t Reply;
    };
    const Case cases[] = {{"probe", Frames::Probe, 10},
                          {"identification", Frames::Identification, 34},
                          {"live block", Frames::LiveBlock, 34},
                          {"selection", Frames::Select(0, 0x0100), 1}};
    constexpr double byteMicros = 1e6 * 10 / 38400;
    std::printf("%-15s %10s %10s %7s %10s\n", "request", "line us", "median us", "ratio",
                "worst us");
    for (const Case& c : cases) {
        std::vector<double> took;
        for (int i = 0; i < rounds; ++i) {
            auto start = std::chrono::steady_clock::now();
            auto got = device.Exchange(c.Frame, c.Reply);
            auto end = std::chrono::steady_clock::now();
            if (got.size() != FrameSize + c.Reply) return 1;
            took.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
        std::sort(took.begin(), took.end());
        double line = (FrameSize + c.Reply) * byteMicros;
        double median = took[took.size() / 2];
        std::printf("%-15s %10.0f %10.0f %7.3f %10.0f\n", c.Name, line, median, median / line,
                    took.back());
    }
    return 0;
}
