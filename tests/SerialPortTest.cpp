#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "serial/SerialPort.h"
#include "support/PtyPair.h"
#include "support/ScratchFolder.h"

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Runs `action` on its own thread after `delay`; joined at the end of scope.
std::jthread After(std::chrono::milliseconds delay, std::function<void()> action) {
    return std::jthread([delay, action = std::move(action)] {
        std::this_thread::sleep_for(delay);
        action();
    });
}

class SerialPortTest : public ::testing::Test {
protected:
    // An empty dosdevices/ keeps COM names from reaching this machine's own ports.
    SerialPortTest() { std::filesystem::create_directory(base.Path() / "dosdevices"); }

    // Opens the pty's device, which takes the line settings without a message.
    void OpenPort() {
        const OpenResult result = port.Open(pty.Device());
        ASSERT_TRUE(result.Opened());
        EXPECT_TRUE(result.Messages.empty());
    }

    // Bytes from the far end, waiting in the port's input queue.
    void Queue(const Bytes& bytes) {
        pty.Send(bytes);
        ASSERT_TRUE(pty.WaitUntilQueued(bytes.size()));
    }

    ScratchFolder base;
    PtyPair pty;
    SerialPort port{base.Path()};
};

}  // namespace

// --- Opening and closing ---

TEST_F(SerialPortTest, OpenSetsARaw38400LineWithoutFlowControl) {
    OpenPort();
    EXPECT_EQ(port.Device(), pty.Device());

    termios line{};
    ASSERT_EQ(tcgetattr(pty.Slave(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), B38400);
    EXPECT_EQ(cfgetispeed(&line), B38400);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    // The pty's default echo would send every reply byte straight back to the ECU.
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
}

TEST_F(SerialPortTest, OpenOnAnOpenPortKeepsTheFirstDevice) {
    OpenPort();
    PtyPair other;
    EXPECT_EQ(port.Open(other.Device()).Outcome, OpenOutcome::AlreadyOpen);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Device(), pty.Device());
}

TEST_F(SerialPortTest, OpenOfAMissingDeviceStaysClosedWithoutMessage) {
    for (const char* name : {"/dev/no-such-tty", "COM7"}) {  // COM7: no dosdevices/ link
        const OpenResult result = port.Open(name);
        EXPECT_EQ(result.Outcome, OpenOutcome::NoSuchPort) << name;
        EXPECT_TRUE(result.Messages.empty()) << name;
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.Device().empty());
}

TEST_F(SerialPortTest, OpenOfADeviceThatIsNoSerialLineReportsEachStepAndStaysClosed) {
    const auto plainFile = base.Path() / "not-a-tty";
    std::ofstream(plainFile) << "data";
    const OpenResult result = port.Open(plainFile.string());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(result.Outcome, OpenOutcome::NotConfigured);
    EXPECT_EQ(result.Messages, (std::vector<std::string>{"Could not retrieve serial port state.",
                                                         "Could not modify serial port state.",
                                                         "Failed to retrieve timeouts."}));
}

TEST_F(SerialPortTest, SecondPortCannotOpenTheSameDeviceEvenAsRoot) {
    OpenPort();
    SerialPort other;
    const OpenResult refused = other.Open(pty.Device());
    EXPECT_EQ(refused.Outcome, OpenOutcome::InUse);
    EXPECT_TRUE(refused.Messages.empty());

    port.Close();
    EXPECT_TRUE(other.Open(pty.Device()).Opened()) << "closing must release the device";
}

// Root is not stopped by another program's TIOCEXCL: the port must see it and
// keep away, and above all not clear that program's exclusive mode.
TEST_F(SerialPortTest, DeviceHeldExclusivelyByAnotherProgramStaysClosedAndKeepsItsLock) {
    ASSERT_EQ(ioctl(pty.Slave(), TIOCEXCL), 0);
    const OpenResult refused = port.Open(pty.Device());
    EXPECT_EQ(refused.Outcome, OpenOutcome::InUse);
    EXPECT_TRUE(refused.Messages.empty());
    port.Close();
    int exclusive = 0;
    ASSERT_EQ(ioctl(pty.Slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_NE(exclusive, 0) << "the other program lost its exclusive mode";

    ASSERT_EQ(ioctl(pty.Slave(), TIOCNXCL), 0);
    OpenPort();
    port.Close();
    ASSERT_EQ(ioctl(pty.Slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0) << "the port's own exclusive mode outlived it";
}

TEST_F(SerialPortTest, CloseOnAClosedPortDoesNothing) {
    EXPECT_TRUE(port.Close());
    OpenPort();
    EXPECT_TRUE(port.Close());
    EXPECT_TRUE(port.Close());
    EXPECT_FALSE(port.IsOpen());
}

// Guards against keeping a released descriptor number as "still open": a later
// Close would then close a file that has been given that number since.
TEST_F(SerialPortTest, FailedCloseIsReportedAndStillReleasesThePort) {
    OpenPort();
    int portFd = -1;
    for (int fd = 3; fd < 1024 && portFd < 0; ++fd) {
        if (fd == pty.Slave()) continue;
        char target[256] = {};
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
        if (length > 0 && pty.Device() == target) portFd = fd;
    }
    ASSERT_GE(portFd, 0);
    ASSERT_EQ(close(portFd), 0);  // closed behind the port's back: its close() fails

    EXPECT_FALSE(port.Close());
    EXPECT_FALSE(port.IsOpen());

    const int reused = open("/dev/null", O_RDONLY | O_CLOEXEC);
    EXPECT_TRUE(port.Close());
    EXPECT_NE(fcntl(reused, F_GETFD), -1) << "a second Close closed someone else's file";
    close(reused);
}

TEST_F(SerialPortTest, OpensAPortNameThroughItsDosdevicesLink) {
    std::filesystem::create_symlink(pty.Device(), base.Path() / "dosdevices" / "COM3");
    port.ListPorts();
    EXPECT_EQ(port.PortNames(), std::vector<std::string>{"COM3"});
    EXPECT_TRUE(port.Open("COM3").Opened());
    EXPECT_EQ(port.Device(), pty.Device());
}

// --- Counted reads ---

// A read of 150 bytes has a budget of 3 s; the bounds below only tell that
// budget from an early return, however loaded the machine.
TEST_F(SerialPortTest, ReadReturnsWhenTheLastByteIsInWithoutWaitingOutTheBudget) {
    OpenPort();
    pty.Send(Bytes(149, 0x11));
    auto rest = After(20ms, [&] { pty.Send({0x22}); });
    Bytes buffer(150);
    const auto start = Clock::now();
    EXPECT_EQ(port.Read(buffer.data(), 150), 150u);
    EXPECT_LT(MsSince(start), 2000) << "waited out the 3 s budget";
    EXPECT_EQ(buffer[149], 0x22);
}

TEST_F(SerialPortTest, ReadOfAPartReplyReturnsWhatCameWhenTheBudgetIsOut) {
    OpenPort();
    Queue({7, 8});
    Bytes buffer(5);
    const auto start = Clock::now();
    EXPECT_EQ(port.Read(buffer.data(), 5), 2u);
    EXPECT_GE(MsSince(start), 95);
    EXPECT_EQ(buffer[0], 7);
    EXPECT_EQ(buffer[1], 8);
}

TEST_F(SerialPortTest, PurgeDropsWhatWaits) {
    OpenPort();
    Queue({1, 2, 3});
    port.Purge();
    EXPECT_FALSE(port.ReadByte().has_value());
}

// --- Single bytes ---

TEST_F(SerialPortTest, ReadByteTakesAWaitingByteAndGivesUpAfter110Ms) {
    OpenPort();
    Queue({0x09});
    EXPECT_EQ(port.ReadByte(), std::optional<std::uint8_t>(0x09));

    const auto start = Clock::now();
    EXPECT_FALSE(port.ReadByte().has_value());
    EXPECT_GE(MsSince(start), 105);
}

// --- Writes and their echo ---

TEST_F(SerialPortTest, WriteOnAnEchoingLineReturnsNWithTheEchoInTheBuffer) {
    OpenPort();
    Bytes received;
    auto line = After(0ms, [&] {
        received = pty.Receive(6, 500ms);
        pty.Send(received);
        pty.Send({0x09, 0x55});  // the reply that follows the echo
    });
    Bytes frame{0x09, 0x84, 0, 0, 0, 0x8D};
    EXPECT_EQ(port.Write(frame.data(), 6), 6u);
    line.join();
    EXPECT_EQ(received, (Bytes{0x09, 0x84, 0, 0, 0, 0x8D}));
    EXPECT_EQ(frame, received);
    EXPECT_EQ(port.ReadByte(), std::optional<std::uint8_t>(0x09))
        << "echo read-back took reply bytes";
}

TEST_F(SerialPortTest, WriteOnALineWithoutEchoCountsWhateverArrived) {
    OpenPort();
    auto ecu = After(0ms, [&] {
        pty.Receive(6, 500ms);
        pty.Send({0x09, 0x01, 0x02});
    });
    Bytes frame{0x09, 0x80, 0, 0, 0, 0x89};
    EXPECT_EQ(port.Write(frame.data(), 6), 3u);
    EXPECT_EQ(frame[0], 0x09);
    EXPECT_EQ(frame[1], 0x01);
}

// --- Hang-up of the line ---

// Reads of 150 bytes have a budget of 3 s, which a hang-up must cut short.
TEST_F(SerialPortTest, HangUpMidReplyEndsTheReadWithWhatCame) {
    OpenPort();
    Queue({1, 2, 3});
    auto line = After(30ms, [&] { pty.HangUp(); });
    Bytes buffer(150);
    const auto start = Clock::now();
    EXPECT_EQ(port.Read(buffer.data(), 150), 3u);
    EXPECT_LT(MsSince(start), 2000) << "the budget ran on after the hang-up";
    EXPECT_EQ(buffer[2], 3);
    EXPECT_TRUE(port.IsHungUp());
}

TEST_F(SerialPortTest, HangUpWhileNothingCameEndsTheWait) {
    OpenPort();
    auto line = After(20ms, [&] { pty.HangUp(); });
    Bytes buffer(150);
    const auto start = Clock::now();
    EXPECT_EQ(port.Read(buffer.data(), 150), 0u);
    EXPECT_LT(MsSince(start), 2000) << "the budget ran on after the hang-up";
    EXPECT_TRUE(port.IsHungUp());
}

TEST_F(SerialPortTest, AfterAHangUpEveryTransferFailsAtOnceUntilReopened) {
    OpenPort();
    pty.HangUp();
    Bytes buffer(150);
    const auto start = Clock::now();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(port.Write(buffer.data(), 6), 0u);
        EXPECT_EQ(port.Read(buffer.data(), 150), 0u);
        EXPECT_FALSE(port.ReadByte().has_value());
        port.Purge();
    }
    // Waiting out the budgets would take over 15 s.
    EXPECT_LT(MsSince(start), 5000);
    EXPECT_TRUE(port.IsOpen()) << "a hang-up is a failed transfer, not a close";

    EXPECT_TRUE(port.Close());
    PtyPair fresh;
    ASSERT_TRUE(port.Open(fresh.Device()).Opened());
    fresh.Send({0x5A});
    ASSERT_TRUE(fresh.WaitUntilQueued(1));
    EXPECT_EQ(port.ReadByte(), std::optional<std::uint8_t>(0x5A));
}

// --- Closed port ---

TEST_F(SerialPortTest, TransfersOnAClosedPortReturnNothing) {
    Bytes buffer(150);
    const auto start = Clock::now();
    EXPECT_EQ(port.Read(buffer.data(), 150), 0u);
    EXPECT_EQ(port.Write(buffer.data(), 6), 0u);
    EXPECT_FALSE(port.ReadByte().has_value());
    port.Purge();
    EXPECT_LT(MsSince(start), 2000) << "waited the budget on a closed port";
}
