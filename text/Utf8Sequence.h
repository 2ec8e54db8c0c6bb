#pragma once
// Where one UTF-8 character ends, for converters that skip what they cannot take.

#include <cstddef>
#include <string_view>

// Length of the well-formed UTF-8 sequence at the start of text (not empty),
// or 1 when the bytes there are not one, so that a bad sequence costs one '?'
// per byte and a good but unconvertible one costs exactly one '?'.
std::size_t Utf8SequenceLength(std::string_view text);
