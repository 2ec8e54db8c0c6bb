#pragma once
// How the texts of database.ini become numbers: integers, flags, decimal
// numbers and the strictly hexadecimal ECU address.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// The one conversion failure that ends the start of a session: an ECU address
// that is not hexadecimal. Its text is shown to the user as it stands (a
// control character of the value as '?'); a front end that wants to say where
// the value stood finds that beside it.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const std::string& text);

    std::string Section;  // the section of database.ini, when known
    std::string Value;    // the value as the file holds it, when known
};

// A 32-bit integer: optional sign and decimal digits, or unsigned hexadecimal
// digits after "0x", "0X", "x", "X" or "$" (up to eight significant ones, taken
// as a bit pattern: 0xFFFFFFFF is -1). Leading blanks are skipped. Nothing when
// the text is not such a number or a decimal one leaves the 32-bit range.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// A decimal number with a point, whatever the locale; leading blanks and a sign
// are allowed. Nothing when the text is not a finite number.
std::optional<double> ParseDecimal(std::string_view text);

// An ECU address as the file holds it: bare hexadecimal digits, at most eight
// significant ones. Throws ConversionError naming the text with "0x" before it.
std::int32_t ParseAddress(std::string_view text);
