#include "text/Printable.h"

#include "text/CodePage.h"

std::string Printable(const std::string& cp1251) {
    std::string text = cp1251;
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return Cp1251ToUtf8(text);
}
