#include "sim/EcuResponder.h"

#include "sim/FrameAssembler.h"
#include "sim/LiveModel.h"

std::optional<ReplyBytes> EcuResponder::Answer(const RequestFrame& frame, double seconds) {
    if (!HasValidChecksum(frame)) return std::nullopt;
    const auto& b = frame.Bytes;
    switch (static_cast<Command>(b[1])) {
        case Command::Probe:
            return EncodeProbe(State);
        case Command::HourCounters:
            return EncodeHourCounters(State);
        case Command::Identification:
            if (b[2] == 0x01) return EncodeIdentification(State);
            if (b[2] == 0x0A) return EncodeUserAndDate(State);
            return std::nullopt;
        case Command::Vin:
            return EncodeVin(State);
        case Command::ErrorMemory:
            if (b[2] == 0x00) return EncodeErrorBitmap(State.ErrorBitmap);
            if (b[2] == 0x01 && b[3] == 0xFF && b[4] == 0xFF) {
                if (!State.KeepsErrors) State.ErrorBitmap = {};
                // The ECU acknowledges the clear; the tool never reads this but purges it.
                return ReplyBytes{FrameHeader, 0x00};
            }
            return std::nullopt;
        case Command::LiveBlock: {
            std::array<std::uint16_t, 16> words{};
            for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
                if (slots_[slot]) words[slot] = LiveWord(*slots_[slot], seconds);
            }
            return EncodeLiveBlock(words);
        }
        case Command::SelectParameter:
            return ReplyBytes{Select(b[2], static_cast<std::uint16_t>(b[3] | b[4] << 8))};
    }
    return std::nullopt;
}

bool EcuResponder::KnowsAddress(std::uint16_t address) const {
    return FixedWords.contains(address) || FindSignalModel(address) != nullptr;
}

std::optional<std::uint16_t> EcuResponder::SlotAddress(std::uint8_t slot) const {
    if (slot >= slots_.size()) return std::nullopt;
    return slots_[slot];
}

std::uint16_t EcuResponder::LiveWord(std::uint16_t address, double seconds) const {
    if (auto fixed = FixedWords.find(address); fixed != FixedWords.end()) return fixed->second;
    return ModelWord(address, seconds).value_or(0);
}

std::uint8_t EcuResponder::Select(std::uint8_t slot, std::uint16_t address) {
    if (slot >= slots_.size()) return NoSuchSlot;
    if (Refusals[slot]) return *Refusals[slot];
    if (!KnowsAddress(address)) return State.UnknownAddressStatus;
    // A refused selection leaves the slot with what it held before.
    slots_[slot] = address;
    return Accepted;
}
