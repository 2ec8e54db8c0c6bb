// The conversions through the system's own code-page tables.

#include <windows.h>

#include <string>

#include "text/CodePage.h"
#include "text/Utf8Sequence.h"
#include "text/win32/WideText.h"

namespace {

constexpr UINT Cp1251 = 1251;
constexpr UINT Cp866 = 866;

// A byte the code page leaves undefined (0x98 of cp1251) comes back as the C1
// control of the same number, which no character of either code page is; such
// a character has no counterpart in either direction.
bool IsC1Control(wchar_t c) {
    return c >= 0x80 && c <= 0x9F;
}

// The text of a single-byte code page as UTF-16, one unit per byte, with '?'
// for the bytes it does not define.
std::wstring Widen(UINT codePage, std::string_view text) {
    std::wstring wide(text.size(), L'\0');
    const int length = static_cast<int>(text.size());
    const bool converted = length == 0 || ::MultiByteToWideChar(codePage, 0, text.data(), length,
                                                                wide.data(), length) == length;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!converted)
            wide[i] = byte < 0x80 ? byte : L'?';  // no table: only ASCII survives
        else if (byte >= 0x80 && IsC1Control(wide[i]))
            wide[i] = L'?';
    }
    return wide;
}

// One UTF-16 character (a unit, or a surrogate pair) into cp1251; '?' when it
// has no cp1251 counterpart. No best fit: a character is never replaced by a
// look-alike.
void AppendCp1251(std::string& out, const wchar_t* units, int count) {
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int written = count == 1 && IsC1Control(units[0])
                            ? 0
                            : ::WideCharToMultiByte(Cp1251, WC_NO_BEST_FIT_CHARS, units, count,
                                                    bytes, sizeof bytes, "?", &usedDefault);
    if (written != 1 || usedDefault)
        out.push_back('?');
    else
        out.push_back(bytes[0]);
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view text) {
    return WideToUtf8(Widen(Cp1251, text));
}

std::string Utf8ToCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        if (static_cast<unsigned char>(text[0]) < 0x80) {
            out.push_back(text[0]);
            text.remove_prefix(1);
            continue;
        }
        const std::size_t length = Utf8SequenceLength(text);
        wchar_t units[2];
        // A sequence of the right shape may still be no character (an overlong
        // form, a surrogate): the strict conversion refuses it.
        const int count = length == 1
                              ? 0
                              : ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                                      static_cast<int>(length), units, 2);
        if (count > 0)
            AppendCp1251(out, units, count);
        else
            out.push_back('?');
        text.remove_prefix(length);
    }
    return out;
}

std::string Cp866ToCp1251(std::string_view text) {
    const std::wstring wide = Widen(Cp866, text);
    std::string out;
    out.reserve(text.size());
    for (const wchar_t& unit : wide) AppendCp1251(out, &unit, 1);
    return out;
}
