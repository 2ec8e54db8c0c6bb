// The Windows serial port on a real line: the simulator behind a COM port of
// Wine (scripts/test-windows.sh names it in VMX_TEST_ECU_PORT, above COM9),
// and the line settings the port gives a device.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "protocol/EcuProtocol.h"
#include "serial/SerialPort.h"
#include "serial/win32/CommSettings.h"

using Clock = std::chrono::steady_clock;

namespace {

// Tests on the port with the simulator behind it; skipped without one.
class SerialLine : public ::testing::Test {
protected:
    void SetUp() override {
        const char* name = std::getenv("VMX_TEST_ECU_PORT");
        if (name == nullptr) GTEST_SKIP() << "VMX_TEST_ECU_PORT names no port";
        Name = name;
    }
    std::string Name;
};

double ThreadCpuMs() {
    FILETIME created, ended, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user);
    const auto ms = [](FILETIME t) {
        return static_cast<double>((0ull + t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

HANDLE OpenRaw(const std::string& path) {
    return ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                         nullptr);
}

}  // namespace

// --- Line settings ---

TEST(LineSettings, OpenSetsTheLineFieldsAndLeavesTheOthersAsFound) {
    DCB line{};
    std::memset(&line, 0xFF, sizeof line);
    line.DCBlength = sizeof line;
    ApplyLineSettings(line);
    EXPECT_EQ(line.BaudRate, 38400u);
    EXPECT_EQ(line.ByteSize, 8);
    EXPECT_EQ(line.Parity, NOPARITY);
    EXPECT_EQ(line.StopBits, ONESTOPBIT);
    EXPECT_EQ(line.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    EXPECT_EQ(line.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
    EXPECT_EQ(line.fBinary + line.fTXContinueOnXoff, 2u);
    EXPECT_EQ(line.fOutxCtsFlow + line.fOutxDsrFlow + line.fDsrSensitivity + line.fOutX +
                  line.fInX + line.fParity + line.fAbortOnError,
              0u);
    // What the line does not decide stays as the device had it.
    EXPECT_EQ(line.fNull + line.fErrorChar, 2u);
    EXPECT_EQ(line.XonChar, '\xFF');
    EXPECT_EQ(line.XonLim, 0xFFFF);
}

// --- Opening by name ---

// A plain COM12 is a file name to Windows: the listing offers it, but it did
// not open.
TEST_F(SerialLine, PortAboveCom9OpensThroughTheDeviceNamespace) {
    const HANDLE plain = OpenRaw(Name);
    EXPECT_EQ(plain, INVALID_HANDLE_VALUE) << Name << " opens without the namespace";
    if (plain != INVALID_HANDLE_VALUE) ::CloseHandle(plain);

    SerialPort port;
    const OpenResult opened = port.Open(Name);
    ASSERT_TRUE(opened.Opened());
    EXPECT_TRUE(opened.Messages.empty());
    EXPECT_EQ(port.Device(), "\\\\.\\" + Name);
    EcuProtocol ecu(port);
    EXPECT_TRUE(ecu.Probe());

    SerialPort other;
    const std::pair<const char*, OpenOutcome> cases[] = {
        {"COM0", OpenOutcome::NoSuchPort},              // no such device
        {"C:\\database.ini", OpenOutcome::NoSuchPort},  // no device name
        {"\\\\.\\C:", OpenOutcome::CannotOpen},  // a volume of the namespace is no serial device
    };
    for (const auto& [name, outcome] : cases) {
        const OpenResult result = other.Open(name);
        EXPECT_EQ(result.Outcome, outcome) << name;
        EXPECT_TRUE(result.Messages.empty()) << name;
    }
}

// The device is left as it was found: a port changed to 9600 baud by another
// program reads 9600 again after this one closed it.
TEST_F(SerialLine, CloseGivesTheDeviceItsFoundSettingsBack) {
    const std::string path = "\\\\.\\" + Name;
    const auto baudRate = [&](DWORD set) {
        const HANDLE raw = OpenRaw(path);
        DCB line{};
        line.DCBlength = sizeof line;
        EXPECT_TRUE(::GetCommState(raw, &line));
        const DWORD found = line.BaudRate;
        if (set != 0) {
            line.BaudRate = set;
            EXPECT_TRUE(::SetCommState(raw, &line));
        }
        ::CloseHandle(raw);
        return found;
    };
    baudRate(9600);
    {
        SerialPort port;
        ASSERT_TRUE(port.Open(Name).Opened());
        EXPECT_EQ(baudRate(0), 38400u) << "open set the line";
        port.Close();
    }
    EXPECT_EQ(baudRate(38400), 9600u);
}

// --- Reads and their budgets ---

TEST_F(SerialLine, CountedReadsTakeWhatIsAskedAndLeaveTheRestQueued) {
    SerialPort port;
    ASSERT_TRUE(port.Open(Name).Opened());
    std::uint8_t bytes[16] = {0x09, 0x80, 0x00, 0x00, 0x00, 0x89};  // the probe
    ASSERT_EQ(port.Write(bytes, 6), 6u);
    EXPECT_EQ(bytes[1], 0x80) << "the echo overwrites the frame";
    // The ten-byte reply is taken in two reads, and nothing is left after it.
    ASSERT_EQ(port.Read(bytes, 4), 4u);
    EXPECT_EQ(bytes[0], 0x09);
    EXPECT_EQ(port.Read(bytes + 4, 6), 6u);
    EXPECT_FALSE(port.ReadByte().has_value());
}

// The wait is done by the device's time-outs, not by asking for the queue's
// count in a loop that kept a processor core busy for the whole budget.
TEST_F(SerialLine, SilentLineWaitsOutTheBudgetAndTheFirstByteWaitWithoutSpinning) {
    SerialPort port;
    ASSERT_TRUE(port.Open(Name).Opened());
    std::uint8_t bytes[6];
    const double cpuBefore = ThreadCpuMs();
    const auto start = Clock::now();
    EXPECT_EQ(port.Read(bytes, 6), 0u);
    const auto waited = Clock::now() - start;
    const double cpu = ThreadCpuMs() - cpuBefore;
    // 6 x 20 ms of budget, then up to 110 ms for a first byte.
    EXPECT_GE(waited, std::chrono::milliseconds(200));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_LT(cpu, 30.0) << "ms of processor time in a wait of "
                         << std::chrono::duration<double, std::milli>(waited).count() << " ms";
}
