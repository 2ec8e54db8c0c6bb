#include "serial/PortNames.h"

#include <cstddef>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t DigitRunEnd(std::string_view s, std::size_t from) {
    while (from < s.size() && IsDigit(s[from])) ++from;
    return from;
}

// Compares two digit runs by value without converting them, so runs longer
// than any integer type still order correctly.
int CompareNumbers(std::string_view a, std::string_view b) {
    const auto significant = [](std::string_view run) {
        const std::size_t first = run.find_first_not_of('0');
        return first == std::string_view::npos ? std::string_view{} : run.substr(first);
    };
    a = significant(a);
    b = significant(b);
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Splits both names into tokens (one non-digit character, or a whole digit
// run) and compares token by token. A digit run sorts where its first digit
// would, so the order of tokens stays consistent and sorting stays well-defined.
int CompareNatural(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::size_t endA = DigitRunEnd(a, i), endB = DigitRunEnd(b, j);
            const int c = CompareNumbers(a.substr(i, endA - i), b.substr(j, endB - j));
            if (c != 0) return c;
            i = endA;
            j = endB;
            continue;
        }
        const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

}  // namespace

bool IsListedPortName(std::string_view name) {
    return name.size() >= 4 && name.substr(0, 3) == "COM" && name[3] >= '1' && name[3] <= '8';
}

bool NaturalLess(std::string_view a, std::string_view b) {
    const int c = CompareNatural(a, b);
    if (c != 0) return c < 0;
    return a < b;  // equal by value (COM01, COM1): plain order decides
}
