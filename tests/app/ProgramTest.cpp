// The window's program as a user ends it other than by its close button:
// SIGTERM, and the X display going away. Either way the port is given back
// (on a pseudo-terminal whose other side stays open, a port left marked
// exclusive would be "in use" for the next run) and the language written back.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

#include "serial/SerialPort.h"
#include "sim/posix/EcuSimulator.h"
#include "support/ChildProcess.h"
#include "support/CliRun.h"
#include "support/ScratchFolder.h"

#ifdef VMXDIAG_PATH

namespace {

using namespace std::chrono_literals;

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::seconds limit = 60s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() : ecu(Options()) {
        std::filesystem::create_directories(folder / "dosdevices");
        ecu.CreateLink(folder / "dosdevices" / "COM1");
        // "en": the program writes the language back as "EN".
        WriteBytes(folder / "database.ini",
                   "[Configuration]\r\nLanguage=en\r\n[0000]\r\nAddress=0100\r\n");
    }
    static EcuSimulator::Options Options() {
        EcuSimulator::Options options;
        options.Paced = false;
        options.LiftsExclusiveMark = false;  // a peer that keeps the line open
        return options;
    }
    // Starts the window with the environment given; true once it has found
    // the ECU (and so holds the port).
    bool Start(std::string environment) {
        window = std::make_unique<ChildProcess>("cd '" + folder.Path().string() + "' && " +
                                                environment + " exec '" VMXDIAG_PATH "'");
        return WaitFor([&] { return !ecu.ReceivedFrames().empty(); });
    }
    bool LanguageWrittenBack() {
        return ReadBytes(folder / "database.ini").find("Language=EN\r\n") != std::string::npos;
    }
    bool PortIsFree() {
        SerialPort other(folder.Path());
        return other.Open("COM1").Opened();
    }

    ScratchFolder folder;
    EcuSimulator ecu;
    std::unique_ptr<ChildProcess> window;  // goes first
};

TEST_F(ProgramTest, SigtermEndsTheWindowAsACloseDoes) {
    ASSERT_TRUE(Start("QT_QPA_PLATFORM=offscreen"));
    window->Signal(SIGTERM);
    EXPECT_EQ(window->Finish(), 0);
    EXPECT_TRUE(LanguageWrittenBack());
    EXPECT_TRUE(PortIsFree());
}

// The display goes once the ECU has had its first frame: with the window up,
// or under the start-up's "No connecting." box when the ECU does not answer
// (Qt ends the program in the box's loop, before the window is built).
TEST_F(ProgramTest, ALostDisplayStillGivesThePortBack) {
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) GTEST_SKIP() << "no Xvfb";
    for (const bool answers : {true, false}) {
        SCOPED_TRACE(answers ? "the ECU answers" : "no ECU answers");
        WriteBytes(folder / "database.ini",
                   "[Configuration]\r\nLanguage=en\r\n[0000]\r\nAddress=0100\r\n");
        SimFaults faults;
        faults.Silent = !answers;
        ecu.SetFaults(faults);
        ecu.ClearLog();
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        // Xvfb writes the number of the display it took.
        ChildProcess display("exec Xvfb -displayfd 1 -screen 0 800x600x24 -nolisten tcp", pipe[1]);
        ::close(pipe[1]);
        std::string number;
        char c = 0;
        while (::read(pipe[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(pipe[0]);
        ASSERT_FALSE(number.empty());
        ASSERT_TRUE(Start("QT_QPA_PLATFORM=xcb DISPLAY=:" + number));
        display.Signal(SIGTERM);
        EXPECT_NE(window->Finish(), -1) << "the window hung or died by a signal";
        EXPECT_TRUE(PortIsFree());
        EXPECT_TRUE(LanguageWrittenBack());
        window.reset();
    }
}

// Fixed fault: under a file-size limit the window died of the limit's signal
// (exit 153) at the first write past it, without writing the language back.
TEST_F(ProgramTest, AFileSizeLimitFailsAWriteAndTheWindowEndsAsUsual) {
    // The signal as a shell leaves it: the window must handle it itself.
    std::signal(SIGXFSZ, SIG_DFL);
    // Room for database.ini and the recording's first line, not for the
    // transfers of the start.
    window = std::make_unique<ChildProcess>("cd '" + folder.Path().string() +
                                            "' && QT_QPA_PLATFORM=offscreen exec prlimit "
                                            "--fsize=100 '" VMXDIAG_PATH "' --record rec.txt");
    ASSERT_TRUE(WaitFor([&] { return !ecu.ReceivedFrames().empty(); }));
    // The first stop closes the message of the recording, a later one the window.
    ASSERT_TRUE(WaitFor([&] {
        window->Signal(SIGTERM);
        std::this_thread::sleep_for(100ms);
        return window->Ended();
    }));
    EXPECT_EQ(window->Finish(), 0);
    EXPECT_TRUE(LanguageWrittenBack());
    EXPECT_EQ(ReadBytes(folder / "rec.txt"), "vmxdiag line recording 1\n");
}

// Fixed fault: --help aborted in Qt for want of a display (exit 134); like the
// version it is asked on a text console, over ssh, by a package check.
TEST(Program, HelpAndVersionNeedNoDisplay) {
    for (const char* option : {"--help", "--version"}) {
        SCOPED_TRACE(option);
        const CommandRun run =
            RunShell("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb '" VMXDIAG_PATH "' " +
                     std::string(option) + " 2>&1");
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find("vmxdiag"), std::string::npos) << run.output;
    }
}

}  // namespace

#endif
