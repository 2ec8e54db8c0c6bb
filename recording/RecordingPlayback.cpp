#include "recording/RecordingPlayback.h"

#include <algorithm>
#include <array>
#include <string>

#include "protocol/RequestFrame.h"

namespace {

using Kind = RecordedTransfer::Kind;

bool Is(const std::vector<std::uint8_t>& sent, const RequestFrame& frame) {
    return std::equal(sent.begin(), sent.end(), frame.Bytes.begin(), frame.Bytes.end());
}

RecordedRequest RequestOf(const std::vector<std::uint8_t>& sent) {
    if (Is(sent, Frames::Probe)) return RecordedRequest::Probe;
    if (Is(sent, Frames::HourCounters)) return RecordedRequest::HourCounters;
    if (Is(sent, Frames::Identification)) return RecordedRequest::Identification;
    if (Is(sent, Frames::UserAndDate)) return RecordedRequest::UserAndDate;
    if (Is(sent, Frames::Vin)) return RecordedRequest::Vin;
    if (Is(sent, Frames::ReadErrors)) return RecordedRequest::ReadErrors;
    if (Is(sent, Frames::ClearErrors)) return RecordedRequest::ClearErrors;
    if (Is(sent, Frames::LiveBlock)) return RecordedRequest::LiveBlock;
    if (sent.size() == FrameSize &&
        Is(sent, Frames::Select(sent[2], static_cast<std::uint16_t>(sent[3] | sent[4] << 8))))
        return RecordedRequest::Select;
    return RecordedRequest::Unknown;
}

}  // namespace

std::vector<RecordedExchange> RecordedExchanges(const LineRecording& recording) {
    std::vector<RecordedExchange> exchanges;
    for (const RecordedTransfer& transfer : recording.Transfers) {
        if (transfer.What == Kind::Write) {
            exchanges.push_back({transfer.Bytes, {}, transfer.Micros, transfer.Line});
        } else if (!exchanges.empty() &&
                   (transfer.What == Kind::ReadByte || transfer.What == Kind::Read)) {
            auto& reply = exchanges.back().Reply;
            reply.insert(reply.end(), transfer.Bytes.begin(), transfer.Bytes.end());
        }
    }
    return exchanges;
}

bool RecordingPlayer::Next(PlayedRequest& played) {
    played = {};
    // Reads before the first request belong to none.
    std::vector<std::uint8_t> stray;
    link_.SkipToNextWrite(stray);
    const RecordedTransfer* write = link_.NextWrite();
    if (!write) return false;
    RecordedExchange& exchange = played.Exchange;
    exchange.Sent = write->Bytes;
    exchange.Micros = write->Micros;
    exchange.Line = write->Line;
    played.Request = RequestOf(exchange.Sent);
    link_.Begin(exchange.Reply);
    buffer_.fill(0);
    EcuProtocol& ecu = ecu_;
    // The requests of texts, by RecordedRequest.
    static constexpr std::array<bool (EcuProtocol::*)(), 5> textReads{
        &EcuProtocol::Probe, &EcuProtocol::ReadHourCounters, &EcuProtocol::ReadIdentification,
        &EcuProtocol::ReadUserAndDate, &EcuProtocol::ReadVin};
    switch (played.Request) {
        case RecordedRequest::Probe:
        case RecordedRequest::HourCounters:
        case RecordedRequest::Identification:
        case RecordedRequest::UserAndDate:
        case RecordedRequest::Vin:
            played.Succeeded = (ecu.*textReads[static_cast<std::size_t>(played.Request)])();
            break;
        case RecordedRequest::ReadErrors:
            played.Succeeded = ecu.ReadErrors(buffer_);
            break;
        case RecordedRequest::ClearErrors:
            played.Succeeded = ecu.ClearErrors();
            break;
        case RecordedRequest::LiveBlock:
            played.Succeeded = ecu.ReadLiveBlock(buffer_);
            break;
        case RecordedRequest::Select:
            played.Slot = exchange.Sent[2];
            played.Address = static_cast<std::uint16_t>(exchange.Sent[3] | exchange.Sent[4] << 8);
            played.Status = ecu.SelectParameter(played.Slot, played.Address);
            played.Succeeded = played.Status >= 0;
            break;
        case RecordedRequest::Unknown: {
            // Not the tool's: only its bytes are shown.
            std::vector<std::uint8_t> bytes = exchange.Sent;
            link_.Write(bytes.data(), bytes.size());
            break;
        }
    }
    played.Mismatch = link_.Mismatch;
    if (const RecordedTransfer* extra = link_.SkipToNextWrite(exchange.Reply);
        extra && played.Request != RecordedRequest::Unknown && !played.Mismatch)
        played.Mismatch = RecordingFault{extra->Line, "a transfer that the request does not make"};
    if (played.Mismatch) played.Succeeded = false;
    return true;
}

void RecordingPlayer::Link::Begin(std::vector<std::uint8_t>& reply) {
    reply_ = &reply;
    Mismatch.reset();
}

const RecordedTransfer* RecordingPlayer::Link::NextWrite() {
    while (next_ < transfers_.size() && transfers_[next_].What == Kind::Purge) ++next_;
    return next_ < transfers_.size() && transfers_[next_].What == Kind::Write ? &transfers_[next_]
                                                                              : nullptr;
}

const RecordedTransfer* RecordingPlayer::Link::SkipToNextWrite(std::vector<std::uint8_t>& reply) {
    const RecordedTransfer* first = nullptr;
    for (; next_ < transfers_.size() && transfers_[next_].What != Kind::Write; ++next_) {
        const RecordedTransfer& transfer = transfers_[next_];
        if (transfer.What == Kind::Purge) continue;
        if (!first) first = &transfer;
        reply.insert(reply.end(), transfer.Bytes.begin(), transfer.Bytes.end());
    }
    return first;
}

const RecordedTransfer* RecordingPlayer::Link::Take(Kind what, const char* call) {
    if (Mismatch) return nullptr;
    if (next_ >= transfers_.size()) {
        const std::size_t line = transfers_.empty() ? 0 : transfers_.back().Line;
        Mismatch =
            RecordingFault{line, std::string("the recording ends where the request makes ") + call};
        return nullptr;
    }
    const RecordedTransfer& transfer = transfers_[next_];
    if (transfer.What != what) {
        Mismatch = RecordingFault{transfer.Line, std::string("the request makes ") + call +
                                                     " where the recording has another transfer"};
        return nullptr;
    }
    ++next_;
    return &transfer;
}

std::optional<std::uint8_t> RecordingPlayer::Link::ReadByte() {
    const RecordedTransfer* transfer = Take(Kind::ReadByte, "a one-byte read");
    if (!transfer || transfer->Bytes.empty()) return std::nullopt;
    if (reply_) reply_->push_back(transfer->Bytes[0]);
    return transfer->Bytes[0];
}

std::size_t RecordingPlayer::Link::Read(std::uint8_t* buffer, std::size_t n) {
    const RecordedTransfer* transfer = Take(Kind::Read, "a counted read");
    if (!transfer) return 0;
    if (transfer->Asked != n) {
        Mismatch = RecordingFault{transfer->Line, "the request reads " + std::to_string(n) +
                                                      " bytes here, not " +
                                                      std::to_string(transfer->Asked)};
        return 0;
    }
    std::copy_n(transfer->Bytes.begin(), std::min(n, transfer->Bytes.size()), buffer);
    if (reply_) reply_->insert(reply_->end(), transfer->Bytes.begin(), transfer->Bytes.end());
    return std::min(n, transfer->Bytes.size());
}

std::size_t RecordingPlayer::Link::Write(std::uint8_t* buffer, std::size_t n) {
    if (!Mismatch) NextWrite();
    const RecordedTransfer* write = Take(Kind::Write, "a write");
    if (!write) return 0;
    if (!std::equal(buffer, buffer + n, write->Bytes.begin(), write->Bytes.end())) {
        Mismatch = RecordingFault{write->Line, "the request sends other bytes than recorded"};
        return 0;
    }
    // The parser keeps every write followed by its echo.
    const RecordedTransfer* echo = Take(Kind::Echo, "an echo read-back");
    if (!echo) return 0;
    const std::size_t echoed = std::min(n, echo->Bytes.size());
    std::copy_n(echo->Bytes.begin(), echoed, buffer);
    return echoed;
}

void RecordingPlayer::Link::Purge() {
    if (!Mismatch && next_ < transfers_.size() && transfers_[next_].What == Kind::Purge) ++next_;
}
