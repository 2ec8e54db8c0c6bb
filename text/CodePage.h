#pragma once
// Conversions between the 8-bit code pages the ECU world uses (cp1251 for the
// definition texts, cp866 for the VIN) and UTF-8 at the edge of the program.
// A byte or character that has no counterpart becomes '?'; nothing fails.

#include <string>
#include <string_view>

std::string Cp1251ToUtf8(std::string_view text);
std::string Utf8ToCp1251(std::string_view text);
// The OEM code page of Cyrillic Windows to its ANSI one.
std::string Cp866ToCp1251(std::string_view text);
