#pragma once
// An ECU on a pseudo-terminal: it echoes every byte the tool sends and answers
// every request of the protocol with the ECU's reply layouts, paced at 38400
// baud (10 bits a byte) unless told to answer at once. Faults of a real line
// can be switched on. It runs on a thread of its own; every call below is safe
// while it runs.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "protocol/RecordingPlayback.h"
#include "protocol/RequestFrame.h"

// What the simulated ECU reports. Texts are given as the ECU holds them and
// encoded by the simulator into the reply layouts (BCD, scrambling, cp866).
struct EcuState {
    // Probe: program version V1.V2.V3 and application identifier.
    std::uint16_t VersionMajor = 40;
    std::uint16_t VersionMinor = 3;
    std::uint16_t VersionPatch = 5;
    std::uint16_t ApplicationId = 1001;

    // Hour counters W0..W3 in sixteenths of an hour, W4 the raw rack zero position.
    std::array<std::uint16_t, 5> Counters{0x3A41, 0x1520, 0x0C83, 0x0412, 400};

    // Identification: four characters of the manufacturer code (each sent as
    // its decimal character code in BCD), five serial digits, production date.
    std::string ManufacturerCode = "VMX ";
    std::string SerialNumber = "21435";
    int ProductionDay = 15, ProductionMonth = 6, ProductionYear = 2019;

    // User code (five characters) and date of last programming (day, month, year
    // within the century), sent scrambled with the chained XOR, seed 0x5A.
    std::string UserCode = "SERV1";
    std::array<std::uint8_t, 3> ProgrammingDate{7, 12, 26};

    // Vehicle identification number, 17 bytes in cp866.
    std::string VinCp866 = "X9L21230060123456";

    // 128-bit error bitmap: bit b of byte p is error 8p+b. The clear request empties it.
    std::array<std::uint8_t, 16> ErrorBitmap{};

    // Status byte that refuses a selection of an address the ECU does not know.
    // (A slot past 15 is refused with 0x1F; a refused slot keeps its old address.)
    std::uint8_t UnknownAddressStatus = 0x2F;
};

// Faults of the line or the ECU, applied to every exchange while set.
// The faults shape the reply in this order: FirstByte, then ShortBy; Garbage goes
// in front and Delay before the whole. HangUpAfter counts reply bytes after the
// garbage and is used up by the next request that gets a reply (Silent counts as
// a reply of no bytes). Replies include the answer to the clear request, 09 00.
struct SimFaults {
    bool NoEcho = false;  // the line does not echo
    // Only the first Bytes bytes (at least 2) of each frame of Command are echoed.
    struct CutEcho {
        std::uint8_t Command = 0;
        std::size_t Bytes = FrameSize;
    };
    std::optional<CutEcho> PartialEcho;
    // The line lags one request behind, as after a run that was killed half
    // way or an ECU that answered too late: the echo and reply of each frame
    // are held back until the next frame starts to arrive, and go out ahead of
    // that frame's echo. Bytes held when the fault is lifted still go out so.
    bool LateLine = false;
    bool Silent = false;                     // echo, but no reply at all
    std::size_t ShortBy = 0;                 // drop this many bytes from the end of each reply
    std::optional<std::uint8_t> FirstByte;   // replaces the first reply byte (0x09, ack or status)
    std::vector<std::uint8_t> Garbage;       // sent before each reply
    std::chrono::milliseconds Delay{0};      // wait before each reply
    std::optional<std::size_t> HangUpAfter;  // hang up after this many bytes of the next reply
    // Silent for these commands only (byte 1 of the frame), as an ECU that
    // answers the probe but not the requests after it.
    std::set<std::uint8_t> Unanswered;
};

class EcuSimulator {
public:
    struct Options {
        bool Paced = true;  // 38400 baud, 10 bits a byte; false answers at once
        EcuState State;
        // Takes every modelled live word at this many seconds after start instead
        // of the running clock, for a live block that does not move.
        std::optional<double> FrozenLiveSeconds;
        // A real port forgets a tool's exclusive mark (TIOCEXCL) at its last
        // close, and so does the simulator when it sees the tool close. False
        // keeps the mark, as a peer that holds the line open does: only a tool
        // that gives its mark back itself can then be followed by another.
        bool LiftsExclusiveMark = true;
        // Answers from a recording instead of the state above: each request
        // with the reply recorded for it, in order (see RecordedEcu.h).
        std::optional<std::vector<RecordedExchange>> Replay;
        // Hears once why the recorded answers ended; called on the serving thread.
        std::function<void(const std::string&)> ReplayStopped;
    };

    // Opens a pseudo-terminal and starts answering on it.
    explicit EcuSimulator(Options options);
    EcuSimulator();
    ~EcuSimulator();  // stops the thread and closes the pseudo-terminal
    EcuSimulator(const EcuSimulator&) = delete;
    EcuSimulator& operator=(const EcuSimulator&) = delete;

    // The device the tool opens, for example /dev/pts/7. The simulator holds a
    // descriptor of it (never locked) so that the tool may close and reopen it. A
    // pseudo-terminal keeps TIOCEXCL past the tool's close; the simulator lifts it
    // when it sees the close (see Options), but a tool that reopens at once
    // should lift it itself (TIOCNXCL) before closing.
    const std::string& DevicePath() const;
    // Lifts an exclusive mark now, as the last close of a real port would.
    void LiftExclusiveMark();

    // Makes `link` a symbolic link to the device (for dosdevices/COMn); it is
    // removed again when the simulator stops.
    void CreateLink(const std::filesystem::path& link);

    EcuState State() const;
    void SetState(const EcuState& state);
    void SetFaults(const SimFaults& faults);
    void SetErrorBitmap(const std::array<std::uint8_t, 16>& bitmap);
    std::array<std::uint8_t, 16> ErrorBitmap() const;

    // Live values: a known address answers a word that moves plausibly (the
    // sample database's addresses have models of their own); a fixed word set
    // here wins and makes the address known. AddLiveAddress is the same.
    void SetLiveValue(std::uint16_t address, std::uint16_t word);
    void AddLiveAddress(std::uint16_t address, std::uint16_t word = 0);
    bool KnowsAddress(std::uint16_t address) const;
    // The address the slot holds since its last accepted selection; nothing for
    // a slot never selected (its live word is 0).
    std::optional<std::uint16_t> SlotAddress(std::uint8_t slot) const;
    // Refuses every selection of this slot with the given status byte.
    void RefuseSlot(std::uint8_t slot, std::uint8_t status);
    void ClearRefusals();

    // Every complete request frame received, in order: six bytes starting with
    // 0x09, also those with a bad checksum or an unknown command (echoed, not
    // answered). Bytes that could not start a frame are counted, not logged.
    std::vector<RequestFrame> ReceivedFrames() const;
    std::size_t BytesReceived() const;
    void ClearLog();

    // Waits until the line is at rest, for a test that runs the tool again:
    // nothing left to send, nothing sent that the ECU has not taken in, no byte
    // in either direction for `quiet`, and no exclusive mark of a tool that has
    // gone. False when that did not come within `limit`.
    bool WaitForQuietLine(std::chrono::milliseconds quiet, std::chrono::milliseconds limit);

    // Closes the ECU's side of the line now, as an unplugged adapter does: the
    // tool's descriptor sees POLLHUP, and reads give EOF or EIO. Bytes the tool
    // had not read yet are lost, as on a real line. Nothing is answered after it.
    void HangUp();
    bool IsHungUp() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
