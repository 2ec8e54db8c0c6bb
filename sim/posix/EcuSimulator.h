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

#include "protocol/RequestFrame.h"
#include "recording/RecordingPlayback.h"
#include "sim/EcuState.h"

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

    // Makes `link` a symbolic link to the device (for dosdevices/COMn), and
    // the folders it needs; the link, and the folders made for it while they
    // are empty, are removed again when the simulator stops.
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
