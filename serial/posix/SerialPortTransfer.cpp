// Moving bytes: the counted read with its waiting budget, the single byte,
// the write with its echo read-back.

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "serial/Deadline.h"
#include "serial/posix/SerialPortPlatform.h"
#include "serial/posix/TtyWait.h"

using namespace std::chrono_literals;

namespace {

constexpr auto BudgetPerByte = 20ms;
constexpr auto FirstByteWait = 110ms;
constexpr auto WriteWaitConstant = 110ms;
constexpr auto WriteWaitPerByte = 1ms;
// One byte on the line at 38400 baud, 10 bits a byte (260.4 µs), rounded down.
constexpr auto LineByteTime = 260us;

// Counts far beyond any reply would overflow the clock's arithmetic; such a
// read waits as long as the largest sensible one.
constexpr std::size_t LongestBudgetBytes = 1'000'000;

std::chrono::milliseconds BudgetFor(std::size_t n, std::chrono::milliseconds perByte) {
    return perByte * static_cast<long long>(std::min(n, LongestBudgetBytes));
}

}  // namespace

std::size_t SerialPort::TakeWaiting(std::uint8_t* buffer, std::size_t n) {
    std::size_t got = 0;
    while (got < n && !hungUp_) {
        const ssize_t r = ::read(platform_->Handle, buffer + got, n - got);
        if (r > 0) {
            got += static_cast<std::size_t>(r);
        } else if (r < 0 && errno == EINTR) {
            continue;
        } else if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        } else {
            hungUp_ = true;  // end of file or EIO: the device is gone
        }
    }
    return got;
}

std::size_t SerialPort::TakeFirstArrival(std::uint8_t* buffer, std::size_t n) {
    const TtyWait wait = WaitForInput(platform_->Handle, Deadline(FirstByteWait));
    if (wait == TtyWait::TimedOut) return 0;
    // A hang-up may still leave bytes that came before it.
    const std::size_t got = TakeWaiting(buffer, n);
    if (wait == TtyWait::HungUp) hungUp_ = true;
    return got;
}

std::optional<std::uint8_t> SerialPort::ReadByte() {
    if (!CanTransfer()) return std::nullopt;
    std::uint8_t byte = 0;
    if (TakeWaiting(&byte, 1) == 1) return byte;
    if (hungUp_ || TakeFirstArrival(&byte, 1) != 1) return std::nullopt;
    return byte;
}

// Bytes are taken as they arrive rather than left in the queue until all n
// are in: the result is the same, the thread sleeps in poll() between
// arrivals, and what came before a hang-up is not lost with the device.
std::size_t SerialPort::Read(std::uint8_t* buffer, std::size_t n) {
    if (!CanTransfer() || n == 0) return 0;
    const Deadline budget(BudgetFor(n, BudgetPerByte));
    std::size_t got = TakeWaiting(buffer, n);
    while (got < n && !hungUp_ && !budget.Passed()) {
        // Bytes cannot come faster than the line carries them: with k still due,
        // the last is at least k - 1 byte times away. Sleeping that long first
        // keeps the thread from waking for every byte of a reply, and still
        // returns as soon as the last byte is in.
        budget.SleepAtMost(LineByteTime * static_cast<long long>(n - got - 1));
        const TtyWait wait = WaitForInput(platform_->Handle, budget);
        if (wait == TtyWait::TimedOut) break;
        got += TakeWaiting(buffer + got, n - got);
        if (wait == TtyWait::HungUp) hungUp_ = true;
    }
    if (hungUp_) return got;
    // The budget is out: whatever has come is the answer; only when nothing
    // came at all is there one more wait for a first byte.
    got += TakeWaiting(buffer + got, n - got);
    if (got == 0 && !hungUp_) got = TakeFirstArrival(buffer, n);
    return got;
}

std::size_t SerialPort::Write(std::uint8_t* buffer, std::size_t n) {
    if (!CanTransfer()) return 0;
    const Deadline limit(WriteWaitConstant + BudgetFor(n, WriteWaitPerByte));
    std::size_t sent = 0;
    while (sent < n) {
        const ssize_t r = ::write(platform_->Handle, buffer + sent, n - sent);
        if (r > 0) {
            sent += static_cast<std::size_t>(r);
        } else if (r < 0 && errno == EINTR) {
            continue;
        } else if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (limit.Passed()) break;
            const TtyWait wait = WaitForOutput(platform_->Handle, limit);
            if (wait == TtyWait::TimedOut) break;
            if (wait == TtyWait::HungUp) {
                hungUp_ = true;
                break;
            }
        } else {
            hungUp_ = true;
            break;
        }
    }
    // Whether or not everything went out, the echo decides: only n echoed
    // bytes prove the frame reached the line.
    return Read(buffer, n);
}
