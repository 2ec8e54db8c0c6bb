#include "serial/win32/CommSettings.h"

#include "serial/SerialPort.h"

void ApplyLineSettings(DCB& line) {
    line.fDtrControl = DTR_CONTROL_ENABLE;
    line.fRtsControl = RTS_CONTROL_ENABLE;
    line.fOutxCtsFlow = 0;
    line.fOutxDsrFlow = 0;
    line.fDsrSensitivity = 0;
    line.fTXContinueOnXoff = 1;
    line.fOutX = 0;
    line.fInX = 0;
    line.fBinary = 1;
    line.fAbortOnError = 0;
    line.ByteSize = 8;
    line.BaudRate = SerialPort::BaudRate;
    line.fParity = 0;
    line.Parity = NOPARITY;
    line.StopBits = ONESTOPBIT;
}

COMMTIMEOUTS PortTimeouts(DWORD firstByteMs) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = firstByteMs;
    timeouts.WriteTotalTimeoutMultiplier = 1;
    timeouts.WriteTotalTimeoutConstant = 110;
    return timeouts;
}
