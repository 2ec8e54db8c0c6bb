#include "database/ProfileValues.h"

#include <charconv>
#include <cmath>

#include "text/Printable.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One or more hex digits and nothing else; leading zeros do not count against
// the eight digits a 32-bit pattern holds.
std::optional<std::int32_t> ParseHexDigits(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint32_t value = 0;
    int significant = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        if (value != 0 || digit != 0) ++significant;
        if (significant > 8) return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseDecimalDigits(std::string_view digits, bool negative) {
    if (digits.empty()) return std::nullopt;
    // The magnitude may reach 2^31 only for a negative number.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

// A zero byte in the value would end the message where what() is read as a C
// string, and an escape would act on a terminal: they show as '?'.
ConversionError::ConversionError(const std::string& text)
    : std::runtime_error("'" + WithControlsShown(text) + "' is not a valid integer value") {}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    if (text.front() == '$') return ParseHexDigits(text.substr(1));
    if (text.front() == 'x' || text.front() == 'X') return ParseHexDigits(text.substr(1));
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return ParseHexDigits(text.substr(2));
    }
    const bool negative = text.front() == '-';
    if (negative || text.front() == '+') text.remove_prefix(1);
    return ParseDecimalDigits(text, negative);
}

std::optional<double> ParseDecimal(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    // from_chars takes a minus but not a plus; a second sign stays an error.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) return std::nullopt;
    }
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::int32_t ParseAddress(std::string_view text) {
    const auto value = ParseHexDigits(text);
    if (!value) throw ConversionError("0x" + std::string(text));
    return *value;
}
