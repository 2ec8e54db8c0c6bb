#include "text/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

#include "text/Utf8Sequence.h"

namespace {

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
