// One live tick against the simulator pacing at 38400 baud over a real
// pseudo-terminal: the block read with its sixteen formulas, and a whole set
// selection, each against its line time.
//
//   bench-live_tick [database.ini]   (default: data/database.ini, else built-in defaults)

#include <cstdio>
#include <filesystem>

#include "LineTiming.h"
#include "SimulatedLine.h"
#include "line/LivePolling.h"

int main(int argc, char** argv) {
    const std::filesystem::path path = argc > 1 ? argv[1] : "data/database.ini";
    DefinitionDatabase definitions(path);
    if (!std::filesystem::exists(path))
        std::printf("(%s not found: sixteen default definitions at address 0)\n", path.c_str());

    bench::SimulatedLine line;
    if (!line.Open()) return 1;
    EcuSimulator& simulator = line.Simulator;
    EcuProtocol& ecu = line.Line.Ecu();
    ParameterSets sets(definitions.Parameters);
    for (std::uint32_t address : sets.SlotAddresses())
        if (!simulator.KnowsAddress(static_cast<std::uint16_t>(address)))
            simulator.AddLiveAddress(static_cast<std::uint16_t>(address), 1234);
    if (!SelectCurrentSet(line.Line, sets, 0)) {
        std::fprintf(stderr, "the simulator refused the set\n");
        return 1;
    }

    // Request and echo overlap on the line; then acknowledgement, one byte, 32 data bytes.
    const bool tick = bench::Report("live tick (ReadLiveBlock + ComputeValues)", 200,
                                    FrameSize + 2 + ReplyLength::LiveBlock, [&] {
                                        WorkBuffer buffer{};
                                        if (!ecu.ReadLiveBlock(buffer)) return false;
                                        sets.ComputeValues(buffer.data());
                                        return true;
                                    });
    // Sixteen selections of a frame and a status byte each.
    const bool select =
        bench::Report("set selection (16 x SelectParameter)", 100, SlotCount * (FrameSize + 1),
                      [&] { return SelectCurrentSet(line.Line, sets, 0); });
    return tick && select ? 0 : 1;
}
