#pragma once
// Bringing a lost line back at the start of a tick (see EcuLine::Recover).

class EcuLine;

enum class LineRecovery {
    NotLost,    // the port had not hung up (or is closed): nothing was done
    StillLost,  // the name stands for no device, or the device did not answer
    Restored,   // the port is open on the device behind its name and the ECU answered
};

// The start of every tick, in the window and in `live`: a lost line is tried
// again. A restored one has lost the ECU's slot assignment with the old
// connection, so the link flag is cleared and the set is selected again.
LineRecovery KeepLineUp(EcuLine& line, bool& linkOk);
