// 200 probe exchanges against the simulator pacing at 38400 baud, over a real
// pseudo-terminal: how close the exchange comes to the line time, and what it
// costs the tool's thread.

#include <cstdio>

#include "LineTiming.h"
#include "SimulatedLine.h"
#include "protocol/EcuProtocol.h"

int main() {
    bench::SimulatedLine line;
    if (!line.Open()) return 1;
    EcuProtocol& ecu = line.Line.Ecu();
    ecu.Probe();  // warm-up
    const bool ok = bench::Report("probe (0x80)", 200, FrameSize + ReplyLength::Probe,
                                  [&] { return ecu.Probe(); });
    return ok ? 0 : 1;
}
