#pragma once
// A serial line whose far end a test drives, for the checks of the serial port
// that run on both systems: on POSIX systems a pseudo-terminal the test holds
// the other side of; under Wine the COM port that scripts/test-windows.sh
// maps to the simulator (VMX_TEST_ECU_PORT, above COM9), which answers what
// it is sent as the ECU does.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "serial/SerialPort.h"

#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "protocol/RequestFrame.h"
#include "sim/EcuState.h"
#include "sim/ReplyEncoding.h"
#else
#include <gtest/gtest.h>
#include <termios.h>
#include <time.h>

#include <filesystem>

#include "support/PtyPair.h"
#include "support/ScratchFolder.h"
#endif

using LineBytes = std::vector<std::uint8_t>;

// Processor time the calling thread has used, in milliseconds.
inline double ThreadCpuMs() {
#ifdef _WIN32
    FILETIME created, ended, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user);
    const auto ms = [](FILETIME t) {
        return static_cast<double>((0ull + t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
#else
    timespec used{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) * 1e3 + static_cast<double>(used.tv_nsec) / 1e6;
#endif
}

#ifdef _WIN32

// What the line's settings come to, as far as these checks look at them.
struct LineSettings {
    DWORD BaudRate = 0;
    BYTE ByteSize = 0, Parity = 0, StopBits = 0;
    bool operator==(const LineSettings&) const = default;
};

inline unsigned Baud(const LineSettings& settings) {
    return settings.BaudRate;
}

class SerialLineUnderTest {
public:
    // Empty when no port names the simulator: the tests are skipped then.
    std::string Missing() const {
        return std::getenv("VMX_TEST_ECU_PORT") ? "" : "VMX_TEST_ECU_PORT names no port";
    }
    // What the port opens.
    std::string Name() const { return std::getenv("VMX_TEST_ECU_PORT"); }
    // The device's settings, as another program opening it finds them.
    LineSettings Settings() const { return Raw(0); }
    // The settings another program leaves on the device: 9600 baud.
    void SetOthersSettings() const { Raw(9600); }
    // The far end's bytes, waiting on the line for the port: the reply to the
    // probe, which the port writes (and reads the echo of).
    LineBytes QueueBytes(SerialPort& port) const {
        std::uint8_t frame[FrameSize] = {0x09, 0x80, 0x00, 0x00, 0x00, 0x89};
        EXPECT_EQ(port.Write(frame, FrameSize), FrameSize);
        EXPECT_EQ(frame[1], 0x80) << "the echo overwrites the frame";
        return EncodeProbe(EcuState{});
    }
    // The device as the tests found it: 38400 baud, as the simulator's port
    // is set up.
    ~SerialLineUnderTest() {
        if (Missing().empty()) Raw(38400);
    }

private:
    // Opens the device as another program would, reads its settings and,
    // unless `baudRate` is 0, sets that rate.
    LineSettings Raw(DWORD baudRate) const {
        const HANDLE raw = ::CreateFileA(("\\\\.\\" + Name()).c_str(), GENERIC_READ | GENERIC_WRITE,
                                         0, nullptr, OPEN_EXISTING, 0, nullptr);
        DCB line{};
        line.DCBlength = sizeof line;
        EXPECT_TRUE(::GetCommState(raw, &line));
        const LineSettings found{line.BaudRate, line.ByteSize, line.Parity, line.StopBits};
        if (baudRate != 0) {
            line.BaudRate = baudRate;
            EXPECT_TRUE(::SetCommState(raw, &line));
        }
        ::CloseHandle(raw);
        return found;
    }
};

// A read of six bytes waits 6 × 20 ms, then up to 110 ms for a first byte;
// the system's timer may end the device's time-outs up to a tick early.
inline constexpr std::chrono::milliseconds SilentSixByteRead{200};

#else

inline unsigned Baud(const LineSettings& settings) {
    switch (settings.OutSpeed) {
        case B9600:
            return 9600;
        case B38400:
            return 38400;
        default:
            return 0;
    }
}

class SerialLineUnderTest {
public:
    // An empty dosdevices/ keeps COM names from reaching this machine's own ports.
    SerialLineUnderTest() { std::filesystem::create_directory(base_.Path() / "dosdevices"); }

    std::string Missing() const { return {}; }
    std::string Name() const { return pty_.Device(); }
    const std::filesystem::path& Base() const { return base_.Path(); }
    LineSettings Settings() const { return pty_.Settings(); }
    // A terminal's settings, as a program there leaves them: cooked, 9600 baud.
    void SetOthersSettings() const {
        termios cooked{};
        ASSERT_EQ(tcgetattr(pty_.Slave(), &cooked), 0);
        cooked.c_lflag |= ICANON | ECHO | ISIG;
        cooked.c_iflag |= ICRNL | IXON;
        cfsetispeed(&cooked, B9600);
        cfsetospeed(&cooked, B9600);
        ASSERT_EQ(tcsetattr(pty_.Slave(), TCSANOW, &cooked), 0);
    }
    LineBytes QueueBytes(SerialPort&) const {
        const LineBytes bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        pty_.Send(bytes);
        EXPECT_TRUE(pty_.WaitUntilQueued(bytes.size()));
        return bytes;
    }
    PtyPair& Pty() { return pty_; }

private:
    ScratchFolder base_;
    PtyPair pty_;
};

// A read of six bytes waits 6 × 20 ms, then up to 110 ms for a first byte.
inline constexpr std::chrono::milliseconds SilentSixByteRead{225};

#endif
