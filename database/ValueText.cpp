#include "database/ValueText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {

constexpr int SignificantDigits = 15;
constexpr int MostDecimals = 18;

// The value's magnitude rounded to 15 significant digits: the digits, and the
// power of ten of the first one.
struct Decimal {
    std::string Digits;  // exactly 15
    int Exponent = 0;
};

Decimal ToDecimal(double magnitude) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, magnitude,
                                      std::chars_format::scientific, SignificantDigits - 1);
    const std::string_view written(text, static_cast<std::size_t>(result.ptr - text));
    // d.dddddddddddddde±XX
    Decimal decimal;
    const std::size_t e = written.find('e');
    for (char c : written.substr(0, e))
        if (c != '.') decimal.Digits += c;
    const std::string_view exponent = written.substr(e + 1);
    const std::size_t skip = exponent.front() == '+' ? 1 : 0;
    std::from_chars(exponent.data() + skip, exponent.data() + exponent.size(), decimal.Exponent);
    if (magnitude == 0.0) decimal.Exponent = 0;
    return decimal;
}

// "1.5E20": the significant digits without trailing zeros.
std::string ExponentText(const Decimal& decimal, char separator) {
    std::string digits = decimal.Digits;
    digits.erase(digits.find_last_not_of('0') + 1);
    std::string text(1, digits.front());
    if (digits.size() > 1) text += separator + digits.substr(1);
    return text + "E" + std::to_string(decimal.Exponent);
}

// Increments a string of decimal digits by one unit in its last place; a carry
// out of the first digit adds a digit in front.
void RoundUp(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

std::string ValueText(double value, int digits, char decimalSeparator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    const int decimals = std::clamp(digits, 0, MostDecimals);
    const Decimal decimal = ToDecimal(std::fabs(value));
    int integerDigits = decimal.Exponent + 1;
    if (integerDigits > SignificantDigits)
        return (value < 0 ? "-" : "") + ExponentText(decimal, decimalSeparator);

    // All digits from the units place down, with zeros in front of a value below 1.
    std::string all =
        std::string(static_cast<std::size_t>(std::max(0, -integerDigits)), '0') + decimal.Digits;
    integerDigits = std::max(0, integerDigits);
    const std::size_t kept = static_cast<std::size_t>(integerDigits + decimals);
    std::string shown = all.substr(0, std::min(kept, all.size()));
    shown.append(kept - shown.size(), '0');
    if (kept < all.size() && all[kept] >= '5') {
        const std::size_t before = shown.size();
        RoundUp(shown);
        integerDigits += static_cast<int>(shown.size() - before);
    }

    std::string integerPart = shown.substr(0, static_cast<std::size_t>(integerDigits));
    integerPart.erase(0, std::min(integerPart.find_first_not_of('0'), integerPart.size()));
    if (integerPart.empty()) integerPart = "0";
    const std::string fraction = shown.substr(static_cast<std::size_t>(integerDigits));
    const bool zero = shown.find_first_not_of('0') == std::string::npos;

    std::string text = value < 0 && !zero ? "-" : "";
    text += integerPart;
    if (decimals > 0) text += decimalSeparator + fraction;
    return text;
}

std::string ValueText(double value, int digits, std::string_view decimalSeparator) {
    if (decimalSeparator.size() == 1) return ValueText(value, digits, decimalSeparator.front());
    std::string text = ValueText(value, digits, '.');
    const std::size_t point = text.find('.');
    if (point != std::string::npos) text.replace(point, 1, decimalSeparator);
    return text;
}

std::string NumberText(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}
