#pragma once
// Clearing the ECU's error memory as the tool always does it: purge, the
// clear request, purge. The ECU's answer to the clear is never read; the
// second purge drops it, and the next error read shows the result.

#include "protocol/EcuProtocol.h"
#include "serial/ByteLink.h"

// True when the clear request went out (its whole echo came back).
bool ClearErrorMemory(ByteLink& link, EcuProtocol& ecu);
