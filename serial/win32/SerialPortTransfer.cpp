// Moving bytes on a Windows serial device: the counted read with its waiting
// budget, the single byte, the write with its echo read-back.
//
// Every wait is done by the device's read time-outs: a ReadFile returns as
// soon as anything has arrived, or after the first-byte wait. A counted read
// takes the bytes as they come until all are in or its budget is spent, so
// the thread sleeps in the driver instead of asking for the queue's count in
// a loop; the bytes returned are the same.

#include <algorithm>
#include <chrono>

#include "serial/Deadline.h"
#include "serial/win32/SerialPortPlatform.h"

using namespace std::chrono_literals;

namespace {

constexpr auto BudgetPerByte = 20ms;
// Counts far beyond any reply would overflow the clock's arithmetic; such a
// read waits as long as the largest sensible one.
constexpr std::size_t LongestBudgetBytes = 1'000'000;

DWORD ClampedCount(std::size_t n) {
    return static_cast<DWORD>(std::min<std::size_t>(n, MAXDWORD));
}

// Whole milliseconds, rounded up, so that a wait never ends before its time.
DWORD CeilMs(Deadline::Clock::duration length) {
    return static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(length).count());
}

}  // namespace

std::size_t SerialPort::TakeFirstArrival(std::uint8_t* buffer, std::size_t n) {
    return platform_->ReadArrival(buffer, n, FirstByteWaitMs, hungUp_);
}

std::optional<std::uint8_t> SerialPort::ReadByte() {
    if (!CanTransfer()) return std::nullopt;
    std::uint8_t byte = 0;
    if (TakeFirstArrival(&byte, 1) != 1) return std::nullopt;
    return byte;
}

std::size_t SerialPort::Read(std::uint8_t* buffer, std::size_t n) {
    if (!CanTransfer() || n == 0) return 0;
    const Deadline budget(BudgetPerByte * static_cast<long long>(std::min(n, LongestBudgetBytes)));
    std::size_t got = 0;
    while (got < n && !hungUp_ && !budget.Passed()) {
        // Never past the budget: a byte that comes after it is not this read's.
        const DWORD waitMs = std::min(CeilMs(budget.Left()), FirstByteWaitMs);
        got += platform_->ReadArrival(buffer + got, n - got, std::max<DWORD>(waitMs, 1), hungUp_);
    }
    // The budget is out: whatever has come is the answer; only when nothing
    // came at all is there one more wait for a first byte.
    if (got == 0 && !hungUp_) got = TakeFirstArrival(buffer, n);
    return got;
}

std::size_t SerialPort::Write(std::uint8_t* buffer, std::size_t n) {
    if (!CanTransfer()) return 0;
    DWORD written = 0;
    if (!::WriteFile(platform_->Handle, buffer, ClampedCount(n), &written, nullptr) &&
        Platform::MeansDeviceLost(::GetLastError()))
        hungUp_ = true;
    // Whether or not everything went out, the echo decides: only n echoed
    // bytes prove the frame reached the line.
    return Read(buffer, n);
}

std::size_t SerialPort::Platform::ReadArrival(std::uint8_t* buffer, std::size_t n, DWORD waitMs,
                                              bool& lost) {
    if (waitMs != ReadWaitMs) {
        COMMTIMEOUTS timeouts = PortTimeouts(waitMs);
        if (!::SetCommTimeouts(Handle, &timeouts)) {
            lost = true;
            return 0;
        }
        Timeouts = timeouts;
        ReadWaitMs = waitMs;
    }
    DWORD got = 0;
    if (!::ReadFile(Handle, buffer, ClampedCount(n), &got, nullptr)) {
        const DWORD error = ::GetLastError();
        // Clears the device's error state, which would refuse the next transfer.
        ::ClearCommError(Handle, &LastErrors, &LastStatus);
        if (MeansDeviceLost(error)) lost = true;
    }
    return got;
}
