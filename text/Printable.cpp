#include "text/Printable.h"

#include "text/CodePage.h"

std::string Printable(const std::string& cp1251) {
    return Cp1251ToUtf8(WithControlsShown(cp1251));
}

std::string WithControlsShown(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return text;
}
