#pragma once
// The line of the exchange benchmarks: the simulator pacing at 38400 baud on a
// pseudo-terminal, and the tool's serial port opened on it.

#include <cstdio>

#include "serial/SerialPort.h"
#include "sim/EcuSimulator.h"

namespace bench {

struct SimulatedLine {
    EcuSimulator Simulator;
    StderrSink Sink;
    SerialPort Port{Sink};

    // False, with the reason on standard error, when the port does not open.
    bool Open() {
        Port.Open(Simulator.DevicePath());
        if (!Port.IsOpen())
            std::fprintf(stderr, "cannot open %s\n", Simulator.DevicePath().c_str());
        return Port.IsOpen();
    }
};

}  // namespace bench
