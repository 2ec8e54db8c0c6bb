#pragma once
// The Win32 side of SerialPort: the device handle, its DCB and time-outs.

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "serial/SerialPort.h"
#include "serial/win32/CommSettings.h"

struct SerialPort::Platform {
    Platform() { LineSettings.DCBlength = sizeof LineSettings; }

    HANDLE Handle = INVALID_HANDLE_VALUE;
    // Kept between opens: a failed GetCommState leaves the previous port's
    // settings here.
    DCB LineSettings{};
    // The device's own settings as this open found them, owed back at release;
    // only when they could be read.
    DCB FoundSettings{};
    bool OwesFoundSettings = false;
    COMMTIMEOUTS Timeouts{};
    // What the last ClearCommError returned; the input queue count is read.
    DWORD LastErrors = 0;
    COMSTAT LastStatus{};
    // The first-byte wait the device is set to now: 110 ms, or what is left of
    // a read's budget near its end.
    DWORD ReadWaitMs = FirstByteWaitMs;

    // One ReadFile under a first-byte wait of waitMs: what has arrived, up to
    // n bytes, or what arrives first within waitMs. Sets lost when the device
    // is gone.
    std::size_t ReadArrival(std::uint8_t* buffer, std::size_t n, DWORD waitMs, bool& lost);

    // The device went away (or failed for good): every ReadFile, WriteFile or
    // ClearCommError that fails for another reason than a purge says so.
    static bool MeansDeviceLost(DWORD error) { return error != ERROR_OPERATION_ABORTED; }
};
