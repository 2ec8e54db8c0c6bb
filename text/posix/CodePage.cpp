#include "text/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace {

// Length of the well-formed UTF-8 sequence at the start of text, or 1 when the
// bytes there are not one, so that a bad sequence costs one '?' per byte and a
// good but unconvertible one costs exactly one '?'.
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    }
    if (length > text.size()) return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
    }
    return length;
}

// Without a working converter only ASCII survives.
std::string AsciiOnly(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    }
    return out;
}

std::string Convert(const char* to, const char* from, std::string_view text) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return AsciiOnly(text);
    const bool fromUtf8 = std::string_view(from) == "UTF-8";

    std::string out;
    out.reserve(text.size() * 2);
    char buffer[1024];
    std::string_view rest = text;
    while (!rest.empty()) {
        // iconv does not modify its input, whatever its prototype says.
        char* in = const_cast<char*>(rest.data());
        std::size_t inLeft = rest.size();
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        rest.remove_prefix(rest.size() - inLeft);
        if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
        // EILSEQ or EINVAL (a truncated sequence at the end): skip it.
        out.push_back('?');
        rest.remove_prefix(fromUtf8 ? Utf8SequenceLength(rest) : 1);
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(converter);
    return out;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view text) {
    return Convert("UTF-8", "CP1251", text);
}

std::string Utf8ToCp1251(std::string_view text) {
    return Convert("CP1251", "UTF-8", text);
}

std::string Cp866ToCp1251(std::string_view text) {
    return Convert("CP1251", "CP866", text);
}
