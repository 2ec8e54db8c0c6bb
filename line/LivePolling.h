#pragma once
// The live-data tick of a parameter page, shared by the window and the
// command-line tool: the set's slots are assigned in the ECU when the link is
// not known to be good, then the block is read and turned into values.

#include "database/ParameterSets.h"
#include "line/EcuLine.h"

// Selects the set (which clears the values) and assigns its sixteen addresses
// to the ECU's slots, stopping at the first refusal. True when all were accepted.
bool SelectCurrentSet(EcuLine& line, ParameterSets& sets, int setIndex);

// One tick: when linkOk is false the set is selected first and linkOk takes the
// outcome; the block is read whatever that outcome. On a good block the values
// are computed and true returned; on a failed one linkOk becomes false, so the
// next tick selects the set again, and the values stay as they were.
bool PollLiveData(EcuLine& line, ParameterSets& sets, int setIndex, bool& linkOk);
