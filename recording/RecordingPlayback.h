#pragma once
// The requests of a line recording played again. The replay of a session runs
// them through the tool's own requests over a link that gives back exactly the
// recorded transfers, so every reply is judged and decoded as it was when it
// came. An ECU that answers from a recording takes them as plain pairs of
// request and reply bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/EcuProtocol.h"
#include "recording/LineRecording.h"

// One request written to the line and every byte read after its echo, up to
// the next request.
struct RecordedExchange {
    std::vector<std::uint8_t> Sent;
    std::vector<std::uint8_t> Reply;
    std::uint64_t Micros = 0;  // when it was sent
    std::size_t Line = 0;      // of its write in the recording
};

std::vector<RecordedExchange> RecordedExchanges(const LineRecording& recording);

// The requests the tool sends, told by their frames.
enum class RecordedRequest {
    Probe,
    HourCounters,
    Identification,
    UserAndDate,
    Vin,
    ReadErrors,
    ClearErrors,
    LiveBlock,
    Select,
    Unknown,  // bytes that are none of the tool's frames
};

// One request as the tool judged it when it was recorded.
struct PlayedRequest {
    RecordedRequest Request = RecordedRequest::Unknown;
    RecordedExchange Exchange;
    // True when the request succeeded (a selection: when it was accepted).
    bool Succeeded = false;
    // A selection's slot, address and outcome, as the ECU answered it.
    std::uint8_t Slot = 0;
    std::uint16_t Address = 0;
    SelectStatus Status = SelectAccepted;
    // Where the recorded transfers do not follow the request's exchange (a
    // recording of another program, or edited): the request then failed.
    std::optional<RecordingFault> Mismatch;
};

class RecordingPlayer {
public:
    explicit RecordingPlayer(const LineRecording& recording)
        : link_(recording.Transfers), ecu_(link_) {}

    // Plays the next request; false when the recording holds no more.
    bool Next(PlayedRequest& played);

    // The texts of the requests played so far (version, counters, VIN, ...),
    // as the tool held them then.
    const EcuProtocol& Ecu() const { return ecu_; }
    // The live block or error bitmap of the last request played, when it succeeded.
    const WorkBuffer& Buffer() const { return buffer_; }

private:
    // Gives back the recorded transfers in order, as long as the calls are the
    // recorded ones; purges are not needed to decode and may be left out.
    class Link : public ByteLink {
    public:
        explicit Link(const std::vector<RecordedTransfer>& transfers) : transfers_(transfers) {}

        std::optional<std::uint8_t> ReadByte() override;
        std::size_t Read(std::uint8_t* buffer, std::size_t n) override;
        std::size_t Write(std::uint8_t* buffer, std::size_t n) override;
        void Purge() override;

        // The next write, past any purges; nothing at the end.
        const RecordedTransfer* NextWrite();
        // Steps over what is left up to the next write; the bytes it read go to
        // `reply`. The first transfer stepped over that is no purge, if any.
        const RecordedTransfer* SkipToNextWrite(std::vector<std::uint8_t>& reply);
        // Begins a request: the bytes its reads bring are collected from here.
        void Begin(std::vector<std::uint8_t>& reply);
        std::optional<RecordingFault> Mismatch;

    private:
        const RecordedTransfer* Take(RecordedTransfer::Kind what, const char* call);

        const std::vector<RecordedTransfer>& transfers_;
        std::size_t next_ = 0;
        std::vector<std::uint8_t>* reply_ = nullptr;
    };

    Link link_;
    EcuProtocol ecu_;
    WorkBuffer buffer_{};
};
