#pragma once
// The line settings and time-outs the port gives a Windows serial device.

#include <windows.h>

// 38400 8N1, DTR and RTS on, no hardware or software flow control, binary, no
// abort on line errors. Every other field keeps what the device reported.
void ApplyLineSettings(DCB& line);

// A read returns at once with what has arrived (at most what was asked for);
// when nothing has, it waits up to firstByteMs for the first byte and returns
// as soon as it is there. A write may take 110 ms plus 1 ms a byte.
COMMTIMEOUTS PortTimeouts(DWORD firstByteMs);

// The first-byte wait of every read that has no shorter budget left.
constexpr DWORD FirstByteWaitMs = 110;
