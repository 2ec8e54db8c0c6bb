#pragma once
// Shared measuring helpers of the exchange benchmarks: wall and thread CPU
// clocks, the line-time bound at 38400 baud, and the report line.

#include <time.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

namespace bench {

// One byte on the line: 10 bits at 38400 baud.
constexpr double ByteMs = 10.0 * 1000.0 / 38400.0;

inline double NowMs(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}
inline double WallMs() {
    return NowMs(CLOCK_MONOTONIC);
}
inline double ThreadCpuMs() {
    return NowMs(CLOCK_THREAD_CPUTIME_ID);
}
inline double ProcessCpuMs() {
    return NowMs(CLOCK_PROCESS_CPUTIME_ID);
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

// Times `exchange` `count` times and prints the median against the line time of
// `lineBytes` bytes, and the CPU time of this thread per exchange.
template <typename Exchange>
bool Report(const char* name, int count, std::size_t lineBytes, Exchange exchange) {
    std::vector<double> times;
    int failures = 0;
    const double cpuStart = ThreadCpuMs();
    const double wallStart = WallMs();
    for (int i = 0; i < count; ++i) {
        const double start = WallMs();
        if (!exchange()) ++failures;
        times.push_back(WallMs() - start);
    }
    const double wall = WallMs() - wallStart;
    const double cpu = ThreadCpuMs() - cpuStart;
    const double median = Median(times);
    const double bound = static_cast<double>(lineBytes) * ByteMs;
    std::printf("%s: %d exchanges, %d failed\n", name, count, failures);
    std::printf("  median exchange   %8.3f ms\n", median);
    std::printf("  line-time bound   %8.3f ms (%zu bytes at 10 bits a byte, 38400 baud)\n", bound,
                lineBytes);
    std::printf("  ratio             %8.3f (target < 1.10)\n", median / bound);
    std::printf("  tool thread CPU   %8.3f ms per exchange, %.2f%% of wall time (target < 5%%)\n",
                cpu / count, 100.0 * cpu / wall);
    return failures == 0;
}

}  // namespace bench
