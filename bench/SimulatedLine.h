#pragma once
// The line of the exchange benchmarks: the simulator pacing at 38400 baud on a
// pseudo-terminal, and the tool's line object opened on it.

#include <cstdio>

#include "line/EcuLine.h"
#include "sim/posix/EcuSimulator.h"

namespace bench {

struct SimulatedLine {
    EcuSimulator Simulator;
    StderrSink Sink;
    EcuLine Line{Sink};

    // False, with the reason on standard error, when the port does not open.
    bool Open() {
        if (Line.Open(Simulator.DevicePath()).Opened()) return true;
        std::fprintf(stderr, "cannot open %s\n", Simulator.DevicePath().c_str());
        return false;
    }
};

}  // namespace bench
