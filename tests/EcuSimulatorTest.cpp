#include "sim/posix/EcuSimulator.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "protocol/EcuIdentification.h"
#include "sim/EcuResponder.h"
#include "sim/LiveModel.h"
#include "sim/ReplyEncoding.h"
#include "support/ChildProcess.h"
#include "support/CliRun.h"
#include "support/FrameBytes.h"
#include "support/RawDevice.h"
#include "support/ScratchFolder.h"

using namespace std::chrono_literals;
using Bytes = RawDevice::Bytes;

namespace {

EcuSimulator::Options Unpaced() {
    EcuSimulator::Options options;
    options.Paced = false;
    return options;
}

// The reply part of an exchange, after checking that the echo came back whole.
Bytes ReplyTo(RawDevice& device, const RequestFrame& frame, std::size_t length) {
    Bytes got = device.Exchange(frame, length);
    EXPECT_GE(got.size(), FrameSize);
    if (got.size() < FrameSize) return {};
    EXPECT_EQ(Bytes(got.begin(), got.begin() + FrameSize), FrameBytes(frame));
    return Bytes(got.begin() + FrameSize, got.end());
}

template <typename Set>
SimFaults Fault(Set set) {
    SimFaults faults;
    set(faults);
    return faults;
}

unsigned Word(const Bytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8;
}

}  // namespace

// --- Echo and framing ---

TEST(EcuSimulator, EchoesEveryByteAndDropsBytesThatCannotStartAFrame) {
    EcuSimulator sim(Unpaced());
    RawDevice device(sim.DevicePath());
    ASSERT_TRUE(device.IsOpen());
    device.Write(Bytes{0x55, 0xAA});
    EXPECT_EQ(device.Read(2), (Bytes{0x55, 0xAA}));
    Bytes reply = ReplyTo(device, Frames::Probe, ReplyLength::Probe);
    EXPECT_EQ(reply.size(), ReplyLength::Probe);
    EXPECT_EQ(sim.BytesReceived(), 8u);
    ASSERT_EQ(sim.ReceivedFrames().size(), 1u);
    EXPECT_EQ(sim.ReceivedFrames()[0].Bytes, Frames::Probe.Bytes);
    sim.ClearLog();
    EXPECT_EQ(sim.BytesReceived(), 0u);
    EXPECT_TRUE(sim.ReceivedFrames().empty());
}

TEST(EcuSimulator, BadChecksumAndUnknownCommandAreEchoedAndLoggedButNotAnswered) {
    EcuSimulator sim(Unpaced());
    RawDevice device(sim.DevicePath());
    RequestFrame badSum = Frames::Probe;
    badSum.Bytes[5] ^= 1;
    RequestFrame unknown = RequestFrame::Make(static_cast<Command>(0x86));
    RequestFrame unknownSub = RequestFrame::Make(Command::Identification, 0x02);
    for (const RequestFrame& frame : {badSum, unknown, unknownSub}) {
        EXPECT_EQ(device.Exchange(frame, 0), FrameBytes(frame));
        EXPECT_TRUE(device.Drain(30ms).empty());
    }
    EXPECT_EQ(sim.ReceivedFrames().size(), 3u);
    // The line is still in step: the next good frame is answered.
    EXPECT_EQ(ReplyTo(device, Frames::Probe, ReplyLength::Probe).size(), ReplyLength::Probe);
}

// --- Reply layouts ---

TEST(EcuSimulator, ProbeSendsVersionAsV1V3V2ThenApplicationId) {
    EcuSimulator sim(Unpaced());
    RawDevice device(sim.DevicePath());
    EXPECT_EQ(ReplyTo(device, Frames::Probe, ReplyLength::Probe),
              (Bytes{0x09, 0x80, 0x28, 0x00, 0x05, 0x00, 0x03, 0x00, 0xE9, 0x03}));
}

TEST(EcuSimulator, HourCountersAreFiveLittleEndianWords) {
    EcuSimulator sim(Unpaced());
    RawDevice device(sim.DevicePath());
    EXPECT_EQ(ReplyTo(device, Frames::HourCounters, ReplyLength::HourCounters),
              (Bytes{0x09, 0x81, 0x41, 0x3A, 0x20, 0x15, 0x83, 0x0C, 0x12, 0x04, 0x90, 0x01}));
}

TEST(EcuSimulator, IdentificationReadsBackThroughTheToolsBcdRule) {
    EcuSimulator sim(Unpaced());
    RawDevice device(sim.DevicePath());
    Bytes r = ReplyTo(device, Frames::Identification, ReplyLength::Identification);
    ASSERT_EQ(r.size(), ReplyLength::Identification);
    // "VMX ": V=86, M=77, X=88, space=32, words high byte first.
    EXPECT_EQ((Bytes{r[2], r[3], r[4], r[5]}), (Bytes{0x77, 0x86, 0x32, 0x88}));
    std::string code;
    for (std::size_t i : {3, 2, 5, 4}) code += static_cast<char>(BcdToDecimal(r[i]));
    EXPECT_EQ(code, "VMX ");
    std::string serial;
    for (std::size_t i : {13, 12, 15, 14, 16}) serial += std::to_string(BcdToDecimal(r[i]));
    EXPECT_EQ(serial, "21435");
    EXPECT_EQ((Bytes{r[18], r[20], r[22], r[23]}), (Bytes{0x15, 0x06, 0x19, 0x20}));
}

TEST(ReplyEncoding, EveryRepresentableCharacterCodeReadsBackAsItself) {
    for (int code = 0; code < 256; ++code) {
        std::uint8_t byte = EncodeCharCode(static_cast<unsigned char>(code));
        if (code < 100 || code >= 160) {
            EXPECT_EQ(BcdToDecimal(byte), code) << code;
        } else {
            EXPECT_EQ(BcdToDecimal(byte), '?') << code;  // no byte reads back as 100..159
        }
    }
    EXPECT_EQ(ToBcd(7), 0x07);
    EXPECT_EQ(ToBcd(2019 % 100), 0x19);
}

TEST(EcuSimulator, UserAndDateDescrambleWithTheChainedXor) {
    EcuSimulator::Options options = Unpaced();
    options.State.UserCode = "AB";
    options.State.ProgrammingDate = {31, 1, 99};
    EcuSimulator sim(options);
    RawDevice device(sim.DevicePath());
    Bytes r = ReplyTo(device, Frames::UserAndDate, ReplyLength::UserAndDate);
    ASSERT_EQ(r.size(), ReplyLength::UserAndDate);
    EXPECT_EQ(r[0], 0x09);
    Bytes plain;
    std::uint8_t key = 0x5A;
    for (std::size_t i = 10; i < 18; ++i) {
        plain.push_back(r[i] ^ key);
        key = r[i];
    }
    // A short user code is padded with zero bytes, which end it on the tool's side.
    EXPECT_EQ(plain, (Bytes{'A', 'B', 0, 0, 0, 31, 1, 99}));
}

TEST(EcuSimulator, VinFillsBytesThreeToNineteen) {
    EcuSimulator::Options options = Unpaced();
    options.State.VinCp866 = "\x8F\x80SHORT";  // cp866 letters, padded with spaces to 17
    EcuSimulator sim(options);
    RawDevice device(sim.DevicePath());
    Bytes r = ReplyTo(device, Frames::Vin, ReplyLength::Vin);
    ASSERT_EQ(r.size(), ReplyLength::Vin);
    EXPECT_EQ(r[0], 0x09);
    EXPECT_EQ(std::string(r.begin() + 3, r.end()), "\x8F\x80SHORT" + std::string(10, ' '));
}

TEST(EcuResponder, EveryFrameGetsItsCommandsLengthOrNoReply) {
    EcuResponder ecu;
    auto lengthOf = [](int command, int sub) -> std::size_t {
        switch (command) {
            case 0x80:
                return 10;
            case 0x81:
                return 12;
            case 0x82:
                return sub == 0x01 || sub == 0x0A ? 34 : 0;
            case 0x83:
                return sub == 0x00 ? 18 : sub == 0x01 ? 2 : 0;  // 2: the clear's answer
            case 0x84:
                return 34;
            case 0x85:
                return 1;
            case 0x90:
                return 20;
            default:
                return 0;
        }
    };
    for (int command = 0; command < 256; ++command) {
        for (int sub = 0; sub < 256; ++sub) {
            RequestFrame frame = RequestFrame::Make(static_cast<Command>(command),
                                                    static_cast<std::uint8_t>(sub), 0xFF, 0xFF);
            std::optional<ReplyBytes> reply = ecu.Answer(frame, 1.0);
            EXPECT_EQ(reply ? reply->size() : 0, lengthOf(command, sub)) << command << " " << sub;
            frame.Bytes[5] ^= 0x80;
            EXPECT_FALSE(ecu.Answer(frame, 1.0)) << "bad checksum " << command;
        }
    }
}

// --- Error memory ---

TEST(EcuSimulator, ErrorReadAnswersBitmapAndClearEmptiesIt) {
    EcuSimulator sim(Unpaced());
    std::array<std::uint8_t, 16> bitmap{};
    bitmap[0] = 0x01;
    bitmap[15] = 0x80;
    sim.SetErrorBitmap(bitmap);
    RawDevice device(sim.DevicePath());
    Bytes r = ReplyTo(device, Frames::ReadErrors, 2 + ReplyLength::ErrorBitmap);
    ASSERT_EQ(r.size(), 18u);
    EXPECT_EQ(r[0], 0x09);
    EXPECT_EQ(Bytes(r.begin() + 2, r.end()), Bytes(bitmap.begin(), bitmap.end()));

    // The clear is answered with a short acknowledgement that the tool purges.
    EXPECT_EQ(ReplyTo(device, Frames::ClearErrors, 2), (Bytes{0x09, 0x00}));
    EXPECT_TRUE(device.Drain(30ms).empty());
    EXPECT_EQ(sim.ErrorBitmap(), (std::array<std::uint8_t, 16>{}));
    r = ReplyTo(device, Frames::ReadErrors, 18);
    EXPECT_EQ(Bytes(r.begin() + 2, r.end()), Bytes(16, 0));
}

// --- Selection and live block ---

TEST(EcuSimulator, SelectionAcceptsKnownAddressesAndRefusesOthers) {
    EcuSimulator sim(Unpaced());
    sim.RefuseSlot(5, 0x3F);
    RawDevice device(sim.DevicePath());
    EXPECT_EQ(ReplyTo(device, Frames::Select(7, 0x01A4), 1), Bytes{0x09});
    EXPECT_EQ(sim.SlotAddress(7), 0x01A4);
    EXPECT_EQ(ReplyTo(device, Frames::Select(7, 0x7777), 1), Bytes{0x2F});
    EXPECT_EQ(sim.SlotAddress(7), 0x01A4) << "a refusal keeps the slot";
    EXPECT_EQ(ReplyTo(device, Frames::Select(5, 0x0100), 1), Bytes{0x3F});
    EXPECT_EQ(ReplyTo(device, Frames::Select(16, 0x0100), 1), Bytes{0x1F});
    sim.ClearRefusals();
    EXPECT_EQ(ReplyTo(device, Frames::Select(5, 0x0100), 1), Bytes{0x09});
    EcuState state = sim.State();
    state.UnknownAddressStatus = 0x6F;
    sim.SetState(state);
    sim.AddLiveAddress(0x7777);
    EXPECT_EQ(ReplyTo(device, Frames::Select(1, 0x7777), 1), Bytes{0x09});
    EXPECT_EQ(ReplyTo(device, Frames::Select(1, 0x7778), 1), Bytes{0x6F});
}

TEST(EcuSimulator, LiveBlockCarriesEachSlotsWordAndZeroForUnselectedSlots) {
    EcuSimulator sim(Unpaced());
    sim.SetLiveValue(0x2000, 0x1234);
    sim.SetLiveValue(0x0100, 0xBEEF);  // a fixed word wins over the model
    RawDevice device(sim.DevicePath());
    ASSERT_EQ(ReplyTo(device, Frames::Select(0, 0x2000), 1), Bytes{0x09});
    ASSERT_EQ(ReplyTo(device, Frames::Select(15, 0x0100), 1), Bytes{0x09});
    Bytes r = ReplyTo(device, Frames::LiveBlock, 2 + ReplyLength::LiveBlock);
    ASSERT_EQ(r.size(), 34u);
    EXPECT_EQ(r[0], 0x09);
    EXPECT_EQ(Word(r, 2), 0x1234u);
    for (std::size_t slot = 1; slot < 15; ++slot) EXPECT_EQ(Word(r, 2 + 2 * slot), 0u) << slot;
    EXPECT_EQ(Word(r, 32), 0xBEEFu);
}

TEST(EcuSimulator, FrozenLiveTimeGivesTheSameModelledBlockEveryTime) {
    EcuSimulator::Options options = Unpaced();
    options.FrozenLiveSeconds = 8.0;  // full load in the drive cycle
    EcuSimulator sim(options);
    RawDevice device(sim.DevicePath());
    ASSERT_EQ(ReplyTo(device, Frames::Select(0, 0x0100), 1), Bytes{0x09});
    Bytes first = ReplyTo(device, Frames::LiveBlock, 34);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(ReplyTo(device, Frames::LiveBlock, 34), first);
    EXPECT_EQ(Word(first, 2), 6000u + 2800u);
}

TEST(LiveModel, SampleSignalsMoveTogetherAndStayInTheirWords) {
    ASSERT_NE(FindSignalModel(0x0100), nullptr);
    EXPECT_EQ(FindSignalModel(0x0101), nullptr);
    // The engine starts at idle and the load-like signals follow it in step.
    EXPECT_EQ(ModelWord(0x0100, 0.0), 6000 - 2800);
    EXPECT_EQ(ModelWord(0x011A, 0.0), 128 - 100);
    EXPECT_EQ(ModelWord(0x0100, 9.0), 6000 + 2800);
    EXPECT_EQ(ModelWord(0x011A, 9.0), 128 + 100);
    for (double t = 0; t < 300; t += 0.37) {
        EXPECT_LE(std::abs(DriveCycle(t) - DriveCycle(t + 0.01)), 0.05) << "no jumps at " << t;
        std::uint16_t clutch = *ModelWord(0x013E, t);
        EXPECT_TRUE(clutch == 0 || clutch == 1);
        EXPECT_EQ(*ModelWord(0x0130, t), 3200);  // constant
    }
    // Signed words go out in two's complement; unsigned ones stop at 0.
    EXPECT_EQ(SignalWord({0x9000, true, -100, 0, 1, Motion::Drift}, 0), 0xFF9C);
    EXPECT_EQ(SignalWord({0x9000, true, -40000, 0, 1, Motion::Drift}, 0), 0x8000);
    EXPECT_EQ(SignalWord({0x9000, false, -100, 0, 1, Motion::Drift}, 0), 0);
    EXPECT_EQ(SignalWord({0x9000, false, 70000, 0, 1, Motion::Drift}, 0), 0xFFFF);
}

// --- Faults ---

TEST(EcuSimulatorFaults, NoEchoSendsOnlyTheReplyAndSilentOnlyTheEcho) {
    EcuSimulator sim(Unpaced());
    RawDevice device(sim.DevicePath());
    sim.SetFaults(Fault([](SimFaults& f) { f.NoEcho = true; }));
    device.Write(Frames::Probe);
    Bytes got = device.Read(ReplyLength::Probe, 5000ms);
    ASSERT_EQ(got.size(), ReplyLength::Probe);
    EXPECT_EQ(got[0], 0x09);
    EXPECT_TRUE(device.Drain(30ms).empty());
    sim.SetFaults(Fault([](SimFaults& f) { f.Silent = true; }));
    device.Write(Frames::Probe);
    EXPECT_EQ(device.Read(FrameSize, 5000ms), FrameBytes(Frames::Probe));
    EXPECT_TRUE(device.Drain(30ms).empty());
}

TEST(EcuSimulatorFaults, ShortWrongFirstByteAndGarbageShapeEveryReply) {
    EcuSimulator sim(Unpaced());
    RawDevice device(sim.DevicePath());
    sim.SetFaults(Fault([](SimFaults& f) { f.ShortBy = 1; }));
    EXPECT_EQ(ReplyTo(device, Frames::Probe, 9).size(), 9u);
    EXPECT_TRUE(device.Drain(30ms).empty());

    sim.SetFaults(Fault([](SimFaults& f) { f.FirstByte = 0x0A; }));
    EXPECT_EQ(ReplyTo(device, Frames::Probe, 10)[0], 0x0A);
    EXPECT_EQ(ReplyTo(device, Frames::LiveBlock, 34)[0], 0x0A);  // the acknowledgement
    EXPECT_EQ(ReplyTo(device, Frames::Select(0, 0x0100), 1), Bytes{0x0A});

    sim.SetFaults(Fault([](SimFaults& f) { f.Garbage = {0xEE, 0xFF}; }));
    Bytes r = ReplyTo(device, Frames::Probe, 12);
    EXPECT_EQ((Bytes{r[0], r[1], r[2]}), (Bytes{0xEE, 0xFF, 0x09}));
}

TEST(EcuSimulatorFaults, DelayHoldsTheReplyBackButNotTheEcho) {
    EcuSimulator sim(Unpaced());
    RawDevice device(sim.DevicePath());
    sim.SetFaults(Fault([](SimFaults& f) { f.Delay = 1000ms; }));
    device.Write(Frames::Probe);
    EXPECT_EQ(device.Read(6, 5000ms).size(), 6u);
    EXPECT_TRUE(device.Read(10, 200ms).empty());
    EXPECT_EQ(device.Read(10, 5000ms).size(), 10u);
}

TEST(EcuSimulatorFaults, HangUpAfterSomeBytesEndsTheLineAndLeavesTheSimulatorUsable) {
    EcuSimulator sim(Unpaced());
    RawDevice device(sim.DevicePath());
    sim.SetFaults(Fault([](SimFaults& f) { f.HangUpAfter = 3; }));
    device.Write(Frames::Probe);
    Bytes got = device.Read(16, 1000ms);
    EXPECT_LE(got.size(), 9u);  // the echo and at most three reply bytes
    EXPECT_TRUE(device.HungUp());
    pollfd p{device.Fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 0), 1);
    EXPECT_TRUE(p.revents & POLLHUP);
    EXPECT_TRUE(sim.IsHungUp());
    // Later calls on the simulator are harmless.
    sim.HangUp();
    sim.SetFaults({});
    sim.SetLiveValue(1, 2);
    EXPECT_EQ(sim.ReceivedFrames().size(), 1u);
    EXPECT_FALSE(sim.DevicePath().empty());
}

TEST(EcuSimulatorFaults, HangUpNowWakesABlockedReader) {
    EcuSimulator sim(Unpaced());
    RawDevice device(sim.DevicePath());
    std::thread hangUp([&] {
        std::this_thread::sleep_for(50ms);
        sim.HangUp();
    });
    Bytes got = device.Read(1, 2000ms);
    hangUp.join();
    EXPECT_TRUE(got.empty());
    EXPECT_TRUE(device.HungUp());
}

// --- The line: pacing, lifetime, reopening ---

TEST(EcuSimulatorLine, PacedReplyTakesItsLineTime) {
    EcuSimulator sim;  // paced
    RawDevice device(sim.DevicePath());
    auto start = std::chrono::steady_clock::now();
    Bytes got = device.Exchange(Frames::Identification, ReplyLength::Identification);
    auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(got.size(), 40u);
    // 40 bytes at 260.4 us; the upper bound only guards against a stalled line.
    EXPECT_GE(took, 40 * 250us);
    EXPECT_LE(took, 5000ms);

    // One byte's echo comes a byte time after it went out, not at once.
    start = std::chrono::steady_clock::now();
    device.Write(Bytes{0x42});
    EXPECT_EQ(device.Read(1), Bytes{0x42});
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200us);
}

TEST(EcuSimulatorLine, DestructorReturnsPromptlyWhileAReaderIsBlocked) {
    auto sim = std::make_unique<EcuSimulator>();
    std::string path = sim->DevicePath();
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);  // blocking reads
    ASSERT_GE(fd, 0);
    std::thread reader([fd] {
        std::uint8_t byte;
        [[maybe_unused]] auto r = ::read(fd, &byte, 1);
    });
    std::this_thread::sleep_for(50ms);
    auto start = std::chrono::steady_clock::now();
    sim.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5000ms) << "hung on the blocked reader";
    reader.join();  // woken by the hang-up of the closed master
    ::close(fd);
}

TEST(EcuSimulatorLine, ToolCanCloseAndReopenAnExclusiveDevice) {
    EcuSimulator sim(Unpaced());
    {
        RawDevice device(sim.DevicePath());
        ASSERT_EQ(::ioctl(device.Fd(), TIOCEXCL), 0);
        ASSERT_EQ(::flock(device.Fd(), LOCK_EX | LOCK_NB), 0);
        EXPECT_EQ(ReplyTo(device, Frames::Probe, 10).size(), 10u);
    }
    // A pseudo-terminal keeps TIOCEXCL past the tool's close (a non-root reopen
    // fails with EBUSY); the simulator lifts it once it sees the close.
    std::unique_ptr<RawDevice> again;
    int exclusive = 1;
    const auto limit = std::chrono::steady_clock::now() + 10s;
    for (int i = 0; exclusive != 0 && std::chrono::steady_clock::now() < limit; ++i) {
        if (i > 0) std::this_thread::sleep_for(5ms);
        again = std::make_unique<RawDevice>(sim.DevicePath());
        if (again->IsOpen()) {
            ASSERT_EQ(::ioctl(again->Fd(), TIOCGEXCL, &exclusive), 0);
        }
    }
    ASSERT_TRUE(again->IsOpen());
    EXPECT_EQ(exclusive, 0);
    // The simulator's own descriptor holds no lock either.
    EXPECT_EQ(::flock(again->Fd(), LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(ReplyTo(*again, Frames::Probe, 10).size(), 10u);
}

// Fixed fault: the folders a link needed were made and left behind.
TEST(EcuSimulatorLine, LinkPointsAtTheDeviceUntilTheSimulatorStops) {
    ScratchFolder dir;
    const std::filesystem::path link = dir / "no" / "such" / "COM1";
    const std::filesystem::path shared = dir / "shared" / "dosdevices" / "COM2";
    {
        EcuSimulator sim(Unpaced());
        sim.CreateLink(link);
        sim.CreateLink(shared);
        EXPECT_EQ(std::filesystem::read_symlink(link), sim.DevicePath());
        RawDevice device(link.string());
        EXPECT_EQ(ReplyTo(device, Frames::Probe, 10).size(), 10u);
        WriteBytes(dir / "shared" / "notes.txt", "someone else's");
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    // The folders made for the links go with them, unless another file is in one.
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));
    EXPECT_FALSE(std::filesystem::exists(dir / "shared" / "dosdevices"));
    EXPECT_EQ(ReadBytes(dir / "shared" / "notes.txt"), "someone else's");
}

#ifdef VMX_ECUSIM_PATH
TEST(EcuSimProgram, ServesTheGivenStateAndRemovesItsLinkOnSigterm) {
    ScratchFolder dir;
    const std::filesystem::path link = dir / "dosdevices" / "COM3";
    int out[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    ChildProcess program("exec '" VMX_ECUSIM_PATH
                         "' --unpaced --ecu-version 41.2.7 --app-id 77 --errors 0,9 --link '" +
                             link.string() + "'",
                         out[1]);
    ::close(out[1]);
    // The first line is the device path.
    std::string path;
    char c = 0;
    pollfd entry{out[0], POLLIN, 0};
    while (::poll(&entry, 1, 10000) == 1 && ::read(out[0], &c, 1) == 1 && c != '\n') path += c;
    ::close(out[0]);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::read_symlink(link), path);
    {
        RawDevice device(path);
        EXPECT_EQ(ReplyTo(device, Frames::Probe, 10),
                  (Bytes{0x09, 0x80, 41, 0, 7, 0, 2, 0, 77, 0}));
        Bytes errors = ReplyTo(device, Frames::ReadErrors, 18);
        ASSERT_EQ(errors.size(), 18u);
        EXPECT_EQ(errors[2], 0x01);
        EXPECT_EQ(errors[3], 0x02);
    }
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Finish(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    EXPECT_FALSE(std::filesystem::exists(dir / "dosdevices"));
}

// Fixed faults: a recording cut at its end by a full disk was refused whole,
// and a damaged one reached the terminal with its escape sequences, its
// message cut at a zero byte.
TEST(EcuSimProgram, AnswersFromTheWholePartOfACutRecordingAndShowsItsTextsSafely) {
    ScratchFolder dir;
    const std::string probe = "09 80 00 00 00 89";
    const std::string whole = "vmxdiag line recording 1\n10 > " + probe + "\n20 < echo " + probe +
                              "\n30 < read 10 09 80 29 00 06 00 04 00 EA 03\n";
    WriteBytes(dir / "cut.rec", whole + "40 > " + probe + "\n50 < echo " + probe + "\n60 < re");
    int out[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    ChildProcess program(
        "exec '" VMX_ECUSIM_PATH "' --unpaced --replay '" + (dir / "cut.rec").string() + "'",
        out[1]);
    ::close(out[1]);
    std::string output;
    char c = 0;
    pollfd entry{out[0], POLLIN, 0};
    while (output.find("/dev/") == std::string::npos || !output.ends_with('\n')) {
        if (::poll(&entry, 1, 10000) != 1 || ::read(out[0], &c, 1) != 1) break;
        output += c;
    }
    ::close(out[0]);
    EXPECT_TRUE(output.starts_with("vmx-ecusim: " + (dir / "cut.rec").string() +
                                   ":7: warning: the line has no end: the recording is cut "
                                   "short; the requests before it are answered\n"))
        << output;
    const std::size_t device = output.find("/dev/");
    ASSERT_NE(device, std::string::npos) << output;
    {
        RawDevice line(output.substr(device, output.size() - device - 1));
        EXPECT_EQ(ReplyTo(line, Frames::Probe, 10),
                  (Bytes{0x09, 0x80, 0x29, 0, 6, 0, 4, 0, 0xEA, 3}));
    }
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Finish(), 0);

    WriteBytes(dir / "bad.rec",
               std::string("vmxdiag line recording 1\n10 > 0\x1B]0;owned\x07\0Z\n", 44));
    const CommandRun bad =
        RunShell("exec '" VMX_ECUSIM_PATH "' --replay '" + (dir / "bad.rec").string() + "'");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.output, "vmx-ecusim: " + (dir / "bad.rec").string() +
                              ":2: '0?]0;owned??Z' is not a byte of two hexadecimal digits\n");
}
#endif
