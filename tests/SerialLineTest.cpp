// The serial port on a line with a far end, the same checks on both systems:
// over a pseudo-terminal here, over the COM port Wine maps to the simulator
// there (support/SerialLineUnderTest.h). What only one system's port does is
// checked beside it: SerialPortTest.cpp, windows/ComPortTest.cpp.

#include <gtest/gtest.h>

#include <chrono>

#include "serial/SerialPort.h"
#include "support/SerialLineUnderTest.h"

namespace {

using Clock = std::chrono::steady_clock;

class SerialLine : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = line.Missing(); !missing.empty()) GTEST_SKIP() << missing;
    }
    // Opens the line, which takes the line settings without a message.
    void OpenPort() {
        const OpenResult result = port.Open(line.Name());
        ASSERT_TRUE(result.Opened());
        EXPECT_TRUE(result.Messages.empty());
    }

    SerialLineUnderTest line;
#ifdef _WIN32
    SerialPort port;
#else
    SerialPort port{line.Base()};
#endif
};

}  // namespace

// Fixed fault: the device kept raw mode after the tool was done with it, and a
// terminal or modem behind it (or another program's 9600 baud) stayed unusable.
TEST_F(SerialLine, CloseGivesTheDeviceBackTheSettingsItHadBeforeOpen) {
    line.SetOthersSettings();
    const LineSettings before = line.Settings();
    EXPECT_EQ(Baud(before), 9600u);

    OpenPort();
    EXPECT_NE(line.Settings(), before);
    EXPECT_EQ(Baud(line.Settings()), 38400u) << "open set the line";
    EXPECT_TRUE(port.Close());
    EXPECT_EQ(line.Settings(), before);
}

// --- Counted reads and their budgets ---

TEST_F(SerialLine, CountedReadsTakeWhatIsAskedAndLeaveTheRestQueued) {
    OpenPort();
    const LineBytes queued = line.QueueBytes(port);
    const std::size_t first = queued.size() - 2;
    LineBytes buffer(queued.size(), 0);
    ASSERT_EQ(port.Read(buffer.data(), first), first);
    EXPECT_EQ(LineBytes(buffer.begin(), buffer.begin() + static_cast<long>(first)),
              LineBytes(queued.begin(), queued.begin() + static_cast<long>(first)));
    EXPECT_EQ(buffer[first], 0) << "wrote past n";

    // The rest is taken by the next read, and nothing is left after it.
    EXPECT_EQ(port.Read(buffer.data(), 2), 2u);
    EXPECT_EQ(buffer[0], queued[first]);
    EXPECT_EQ(buffer[1], queued[first + 1]);
    EXPECT_FALSE(port.ReadByte().has_value());
}

// The wait sleeps until the budget is out (in poll() here, in the device's
// time-outs on Windows), rather than asking for the queue's count in a loop
// that kept a processor core busy for the whole budget.
TEST_F(SerialLine, ASilentLineWaitsOutTheBudgetAndTheFirstByteWaitWithoutSpinning) {
    OpenPort();
    std::uint8_t bytes[6];
    const double cpuBefore = ThreadCpuMs();
    const auto start = Clock::now();
    EXPECT_EQ(port.Read(bytes, 6), 0u);
    const auto waited = Clock::now() - start;
    const double cpu = ThreadCpuMs() - cpuBefore;
    EXPECT_GE(waited, SilentSixByteRead);
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_LT(cpu, 30.0) << "ms of processor time in a wait of "
                         << std::chrono::duration<double, std::milli>(waited).count() << " ms";
}
