#pragma once
// A window's ticks measured as its timer runs them, the same for either
// toolkit: each tick, then the painting of what it wrote (`paint` lets the
// toolkit's loop run), against the line time of the tick's exchange.

#include <cstdio>
#include <vector>

#include "LineTiming.h"
#include "window/WindowBehaviour.h"

// Prints the figures under `name`; false when the link was lost.
template <typename Paint>
bool MeasureTicks(WindowBehaviour& behaviour, const char* name, std::size_t lineBytes,
                  Paint paint) {
    constexpr int Ticks = 200;
    std::vector<double> ticks, painted;
    for (int i = 0; i < Ticks; ++i) {
        const double start = bench::WallMs();
        behaviour.Timer1Timer();
        ticks.push_back(bench::WallMs() - start);
        paint();
        painted.push_back(bench::WallMs() - start);
    }
    const double bound = static_cast<double>(lineBytes) * bench::ByteMs;
    std::printf("%s: %d ticks%s\n", name, Ticks, behaviour.LinkOk ? "" : ", LINK LOST");
    std::printf("  median tick       %8.3f ms\n", bench::Median(ticks));
    std::printf("  line-time bound   %8.3f ms (%zu bytes at 10 bits a byte, 38400 baud)\n", bound,
                lineBytes);
    std::printf("  ratio             %8.3f (target < 1.03)\n", bench::Median(ticks) / bound);
    std::printf("  with the painting %8.3f ms, ratio %.3f\n", bench::Median(painted),
                bench::Median(painted) / bound);
    return behaviour.LinkOk;
}
