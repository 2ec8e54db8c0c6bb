#include "protocol/EcuIdentification.h"

#include <array>
#include <charconv>
#include <cstddef>

#include "protocol/EcuProtocol.h"
#include "text/CodePage.h"

namespace {

// Seed of the chained XOR over the user code and programming date.
constexpr std::uint8_t ScrambleSeed = 0x5A;

// numerator / denominator rounded to the nearest whole number, a tie going to
// the even neighbour, in integers so that no locale or float rounding mode
// can change a digit.
unsigned RoundHalfEven(unsigned numerator, unsigned denominator) {
    unsigned whole = numerator / denominator;
    const unsigned twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && whole % 2 == 1)) ++whole;
    return whole;
}

// A number in decimal with at least two digits ("%02d").
std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

}  // namespace

int BcdToDecimal(std::uint8_t byte) {
    char text[2];
    const auto hex = std::to_chars(text, text + sizeof text, static_cast<unsigned>(byte), 16);
    int value = 0;
    const auto read = std::from_chars(text, hex.ptr, value);
    return read.ec == std::errc{} ? value : byte;
}

std::string CounterText(std::uint16_t word) {
    // The low four bits count steps of 3.75 = 15/4 minutes.
    const unsigned minutes = RoundHalfEven((word & 0x0Fu) * 15u, 4u);
    return std::to_string(word >> 4) + ":" + std::to_string(minutes);
}

HourCounterTexts DecodeHourCounters(const std::uint8_t* reply) {
    const auto whole = static_cast<std::uint16_t>(WordAt(reply, 2));
    const auto nearIdle = static_cast<std::uint16_t>(WordAt(reply, 4));
    const auto partial = static_cast<std::uint16_t>(WordAt(reply, 6));
    const auto maximum = static_cast<std::uint16_t>(WordAt(reply, 8));
    // The ECU does not send this one; parts larger than the whole wrap around.
    const auto highSpeed = static_cast<std::uint16_t>(whole - nearIdle - partial - maximum);
    return {.WholeWorkingTime = CounterText(whole),
            .NearIdleTime = CounterText(nearIdle),
            .HighSpeedSmallLoadTime = CounterText(highSpeed),
            .PartialLoadTime = CounterText(partial),
            .MaximumLoadTime = CounterText(maximum),
            .RackZeroPosition = std::to_string(RoundHalfEven(WordAt(reply, 10), 16u))};
}

IdentificationTexts DecodeIdentification(const std::uint8_t* reply) {
    IdentificationTexts texts;
    // Each 16-bit word of the code and the serial comes high byte first.
    for (std::size_t at : {3, 2, 5, 4}) {
        const int code = BcdToDecimal(reply[at]);
        texts.ManufacturerCode += static_cast<char>(code == 0 ? ' ' : code);
    }
    texts.ProductionDate = TwoDigits(BcdToDecimal(reply[18])) + "." +
                           TwoDigits(BcdToDecimal(reply[20])) + "." +
                           TwoDigits(BcdToDecimal(reply[23])) + TwoDigits(BcdToDecimal(reply[22]));
    for (std::size_t at : {13, 12, 15, 14, 16})
        texts.SerialNumber += std::to_string(BcdToDecimal(reply[at]));
    return texts;
}

UserAndDateTexts DecodeUserAndDate(const std::uint8_t* reply) {
    // Each byte was XORed with the byte sent before it (the seed for the first).
    std::array<std::uint8_t, 8> plain{};
    std::uint8_t key = ScrambleSeed;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        plain[i] = static_cast<std::uint8_t>(reply[10 + i] ^ key);
        key = reply[10 + i];
    }
    UserAndDateTexts texts;
    for (std::size_t i = 0; i < 5 && plain[i] != 0; ++i)
        texts.UserCode += static_cast<char>(plain[i]);
    texts.LastProgrammingDate =
        TwoDigits(plain[5]) + "." + TwoDigits(plain[6]) + "." + TwoDigits(plain[7]);
    return texts;
}

std::string DecodeVin(const std::uint8_t* reply) {
    std::string vin;
    for (std::size_t i = 3; i < 20 && reply[i] != 0; ++i) vin += static_cast<char>(reply[i]);
    return Cp866ToCp1251(vin);
}

// --- The requests ---

bool EcuProtocol::ReadHourCounters() {
    WorkBuffer reply{};
    if (!ExchangeWhole(link_, Frames::HourCounters, reply, ReplyLength::HourCounters)) return false;
    HourCounterTexts texts = DecodeHourCounters(reply.data());
    WholeWorkingTime = std::move(texts.WholeWorkingTime);
    NearIdleTime = std::move(texts.NearIdleTime);
    HighSpeedSmallLoadTime = std::move(texts.HighSpeedSmallLoadTime);
    PartialLoadTime = std::move(texts.PartialLoadTime);
    MaximumLoadTime = std::move(texts.MaximumLoadTime);
    RackZeroPosition = std::move(texts.RackZeroPosition);
    return true;
}

bool EcuProtocol::ReadIdentification() {
    WorkBuffer reply{};
    if (!ExchangeWhole(link_, Frames::Identification, reply, ReplyLength::Identification))
        return false;
    IdentificationTexts texts = DecodeIdentification(reply.data());
    ManufacturerCode = std::move(texts.ManufacturerCode);
    ProductionDate = std::move(texts.ProductionDate);
    SerialNumber = std::move(texts.SerialNumber);
    return true;
}

bool EcuProtocol::ReadUserAndDate() {
    WorkBuffer reply{};
    if (!ExchangeWhole(link_, Frames::UserAndDate, reply, ReplyLength::UserAndDate)) return false;
    UserAndDateTexts texts = DecodeUserAndDate(reply.data());
    UserCode = std::move(texts.UserCode);
    LastProgrammingDate = std::move(texts.LastProgrammingDate);
    return true;
}

bool EcuProtocol::ReadVin() {
    WorkBuffer reply{};
    if (!ExchangeWhole(link_, Frames::Vin, reply, ReplyLength::Vin)) return false;
    Vin = DecodeVin(reply.data());
    return true;
}
