// The live tick with the line recorder on, against the same tick without it,
// both on the simulator pacing at 38400 baud over a pseudo-terminal. A
// recorded tick includes writing its lines to the file, as the command-line
// tool does after each read. Blocks of the two alternate, so that a drift of
// the machine weighs on both alike.
//
//   bench-record_tick [rounds]   (default 10 rounds of 20 ticks each way)

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "LineTiming.h"
#include "SimulatedLine.h"
#include "line/LivePolling.h"
#include "recording/LineRecorder.h"
#include "recording/RecordingFile.h"

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    constexpr int TicksPerBlock = 20;
    DefinitionDatabase definitions("data/database.ini");

    bench::SimulatedLine line;
    if (!line.Open()) return 1;
    // Both over the line object's link, whose own recorder is off.
    EcuProtocol plain(line.Line.Link());
    LineRecorder recorder(line.Line.Link());
    EcuProtocol recorded(recorder);
    ParameterSets sets(definitions.Parameters);
    for (std::uint32_t address : sets.SlotAddresses())
        if (!line.Simulator.KnowsAddress(static_cast<std::uint16_t>(address)))
            line.Simulator.AddLiveAddress(static_cast<std::uint16_t>(address), 1234);
    if (!SelectCurrentSet(line.Line, sets, 0)) {
        std::fprintf(stderr, "the simulator refused the set\n");
        return 1;
    }
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("vmx-bench-record-" + std::to_string(::getpid()));
    RecordingFile file;
    if (!file.Create(path.string())) {
        std::fprintf(stderr, "cannot create %s: %s\n", path.c_str(), file.Failure().c_str());
        return 1;
    }
    recorder.Start();

    std::vector<double> without, with, writing;
    std::string lines;
    int failures = 0;
    const auto tick = [&](EcuProtocol& ecu) {
        WorkBuffer buffer{};
        if (!ecu.ReadLiveBlock(buffer)) ++failures;
        sets.ComputeValues(buffer.data());
    };
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < TicksPerBlock; ++i) {
            const double start = bench::WallMs();
            tick(plain);
            without.push_back(bench::WallMs() - start);
        }
        for (int i = 0; i < TicksPerBlock; ++i) {
            const double start = bench::WallMs();
            tick(recorded);
            const double written = bench::WallMs();
            recorder.TakeLines(lines);
            if (!file.Write(lines)) ++failures;
            lines.clear();
            const double end = bench::WallMs();
            with.push_back(end - start);
            writing.push_back(end - written);
        }
    }
    file.Close();
    const auto size = std::filesystem::file_size(path);
    std::filesystem::remove(path);

    const double plainMedian = bench::Median(without);
    const double recordedMedian = bench::Median(with);
    std::printf("live tick, %d each way, %d failed\n", rounds * TicksPerBlock, failures);
    std::printf("  without recording   %8.3f ms median\n", plainMedian);
    std::printf("  with recording      %8.3f ms median (of it, the file write %.3f ms)\n",
                recordedMedian, bench::Median(writing));
    std::printf("  recording           %8zu bytes a tick\n",
                static_cast<std::size_t>(size) / static_cast<std::size_t>(rounds * TicksPerBlock));
    std::printf("  ratio               %8.4f (target < 1.01)\n", recordedMedian / plainMedian);
    return failures == 0 ? 0 : 1;
}
