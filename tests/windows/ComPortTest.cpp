// What only the Windows serial port does: the line settings it gives a
// device, and a port above COM9 opened through the device namespace, on the
// simulator behind a COM port of Wine (scripts/test-windows.sh names it in
// VMX_TEST_ECU_PORT). The checks both systems share: SerialLineTest.cpp.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "protocol/EcuProtocol.h"
#include "serial/SerialPort.h"
#include "serial/win32/CommSettings.h"

namespace {

// Tests on the port with the simulator behind it; skipped without one.
class ComPort : public ::testing::Test {
protected:
    void SetUp() override {
        const char* name = std::getenv("VMX_TEST_ECU_PORT");
        if (name == nullptr) GTEST_SKIP() << "VMX_TEST_ECU_PORT names no port";
        Name = name;
    }
    std::string Name;
};

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
TEST_F(ComPort, PortAboveCom9OpensThroughTheDeviceNamespace) {
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
