// 200 probe exchanges against the simulator pacing at 38400 baud, over a real
// pseudo-terminal: how close the exchange comes to the line time, and what it
// costs the tool's thread.

#include <cstdio>

#include "LineTiming.h"
#include "protocol/EcuProtocol.h"
#include "serial/SerialPort.h"
#include "sim/EcuSimulator.h"

int main() {
    EcuSimulator simulator;
    StderrSink sink;
    SerialPort port(sink);
    port.Open(simulator.DevicePath());
    if (!port.IsOpen()) {
        std::fprintf(stderr, "cannot open %s\n", simulator.DevicePath().c_str());
        return 1;
    }
    EcuProtocol ecu(port);
    ecu.Probe();  // warm-up
    const bool ok = bench::Report("probe (0x80)", 200, FrameSize + ReplyLength::Probe,
                                  [&] { return ecu.Probe(); });
    return ok ? 0 : 1;
}
