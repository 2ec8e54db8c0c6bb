#include "sim/ReplyEncoding.h"

#include <cstddef>

#include "protocol/RequestFrame.h"
#include "sim/EcuState.h"

namespace {

ReplyBytes Begin(std::size_t length, std::uint8_t second) {
    ReplyBytes reply(length, 0);
    reply[0] = FrameHeader;
    reply[1] = second;
    return reply;
}

void PutWord(ReplyBytes& reply, std::size_t offset, std::uint16_t word) {
    reply[offset] = static_cast<std::uint8_t>(word & 0xFF);
    reply[offset + 1] = static_cast<std::uint8_t>(word >> 8);
}

// Character i of text, or `pad` past its end.
unsigned char CharAt(const std::string& text, std::size_t i, unsigned char pad) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : pad;
}

}  // namespace

std::uint8_t ToBcd(int value) {
    int v = value < 0 ? 0 : value % 100;
    return static_cast<std::uint8_t>((v / 10) << 4 | (v % 10));
}

std::uint8_t EncodeCharCode(unsigned char code) {
    if (code < 100) return ToBcd(code);
    if (code >= 0xA0) return code;
    return ToBcd('?');
}

std::array<std::uint8_t, 8> Scramble(const std::array<std::uint8_t, 8>& plain) {
    std::array<std::uint8_t, 8> out{};
    std::uint8_t key = ScrambleSeed;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        out[i] = static_cast<std::uint8_t>(plain[i] ^ key);
        key = out[i];
    }
    return out;
}

ReplyBytes EncodeProbe(const EcuState& state) {
    ReplyBytes reply = Begin(ReplyLength::Probe, static_cast<std::uint8_t>(Command::Probe));
    // The ECU sends the version as V1, V3, V2.
    PutWord(reply, 2, state.VersionMajor);
    PutWord(reply, 4, state.VersionPatch);
    PutWord(reply, 6, state.VersionMinor);
    PutWord(reply, 8, state.ApplicationId);
    return reply;
}

ReplyBytes EncodeHourCounters(const EcuState& state) {
    ReplyBytes reply =
        Begin(ReplyLength::HourCounters, static_cast<std::uint8_t>(Command::HourCounters));
    for (std::size_t i = 0; i < state.Counters.size(); ++i)
        PutWord(reply, 2 + 2 * i, state.Counters[i]);
    return reply;
}

ReplyBytes EncodeIdentification(const EcuState& state) {
    ReplyBytes reply =
        Begin(ReplyLength::Identification, static_cast<std::uint8_t>(Command::Identification));
    // Each word goes high byte first, so the characters land in bytes 3, 2, 5, 4.
    constexpr std::array<std::size_t, 4> codeBytes{3, 2, 5, 4};
    for (std::size_t i = 0; i < codeBytes.size(); ++i)
        reply[codeBytes[i]] = EncodeCharCode(CharAt(state.ManufacturerCode, i, ' '));
    constexpr std::array<std::size_t, 5> serialBytes{13, 12, 15, 14, 16};
    for (std::size_t i = 0; i < serialBytes.size(); ++i) {
        unsigned char c = CharAt(state.SerialNumber, i, '0');
        reply[serialBytes[i]] = (c >= '0' && c <= '9') ? static_cast<std::uint8_t>(c - '0') : 0;
    }
    reply[18] = ToBcd(state.ProductionDay);
    reply[20] = ToBcd(state.ProductionMonth);
    reply[22] = ToBcd(state.ProductionYear % 100);
    reply[23] = ToBcd(state.ProductionYear / 100);
    return reply;
}

ReplyBytes EncodeUserAndDate(const EcuState& state) {
    ReplyBytes reply =
        Begin(ReplyLength::UserAndDate, static_cast<std::uint8_t>(Command::Identification));
    std::array<std::uint8_t, 8> plain{};
    // A shorter user code ends at its first zero byte when the tool shows it.
    for (std::size_t i = 0; i < 5; ++i) plain[i] = CharAt(state.UserCode, i, 0);
    for (std::size_t i = 0; i < 3; ++i) plain[5 + i] = state.ProgrammingDate[i];
    std::array<std::uint8_t, 8> scrambled = Scramble(plain);
    for (std::size_t i = 0; i < scrambled.size(); ++i) reply[10 + i] = scrambled[i];
    return reply;
}

ReplyBytes EncodeVin(const EcuState& state) {
    ReplyBytes reply = Begin(ReplyLength::Vin, static_cast<std::uint8_t>(Command::Vin));
    for (std::size_t i = 0; i < 17; ++i) reply[3 + i] = CharAt(state.VinCp866, i, ' ');
    return reply;
}

ReplyBytes EncodeErrorBitmap(const std::array<std::uint8_t, 16>& bitmap) {
    ReplyBytes reply = Begin(2 + ReplyLength::ErrorBitmap, ReplyLength::ErrorBitmap);
    for (std::size_t i = 0; i < bitmap.size(); ++i) reply[2 + i] = bitmap[i];
    return reply;
}

ReplyBytes EncodeLiveBlock(const std::array<std::uint16_t, 16>& words) {
    ReplyBytes reply = Begin(2 + ReplyLength::LiveBlock, ReplyLength::LiveBlock);
    for (std::size_t i = 0; i < words.size(); ++i) PutWord(reply, 2 + 2 * i, words[i]);
    return reply;
}
