// The live set read over a named port, as the tool reads it, with an ECU or
// the paced simulator (vmx-ecusim) behind it: the block exchange against its
// line time, then the process's CPU while it polls every 220 ms as the window
// does. It runs on Windows too: scripts/bench-windows.sh runs it under Wine.
//
//   bench-port_live PORT [seconds of polling] [database.ini]
//   (default 20 s, and data/database.ini, else built-in defaults)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "LineTiming.h"
#include "line/LivePolling.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench-port_live PORT [seconds] [database.ini]\n");
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 20.0;
    const std::filesystem::path path = argc > 3 ? argv[3] : "data/database.ini";
    DefinitionDatabase definitions(path);
    StderrSink sink;
    EcuLine line(sink);
    if (!line.Open(argv[1]).Opened()) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    EcuProtocol& ecu = line.Ecu();
    ParameterSets sets(definitions.Parameters);
    if (!SelectCurrentSet(line, sets, 0)) {
        std::fprintf(stderr, "the ECU refused the set\n");
        return 1;
    }
    const auto readSet = [&] {
        WorkBuffer buffer{};
        if (!ecu.ReadLiveBlock(buffer)) return false;
        sets.ComputeValues(buffer.data());
        return true;
    };
    // Request and echo overlap on the line; then acknowledgement, one byte, 32 data bytes.
    const bool exchanges = bench::Report("live block (ReadLiveBlock + ComputeValues)", 200,
                                         FrameSize + 2 + ReplyLength::LiveBlock, readSet);

    // The polling cycle: 220 ms from the end of one read to the next.
    int reads = 0, failed = 0;
    const double cpuStart = bench::ProcessCpuMs();
    const double wallStart = bench::WallMs();
    while (bench::WallMs() - wallStart < seconds * 1000.0) {
        if (!readSet()) ++failed;
        ++reads;
        std::this_thread::sleep_for(std::chrono::milliseconds(220));
    }
    const double percent =
        100.0 * (bench::ProcessCpuMs() - cpuStart) / (bench::WallMs() - wallStart);
    std::printf("polling every 220 ms: %d reads, %d failed\n", reads, failed);
    std::printf("  process CPU       %8.3f %% of one core (target < 0.2 %%)\n", percent);
    return exchanges && failed == 0 ? 0 : 1;
}
