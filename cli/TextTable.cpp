#include "cli/TextTable.h"

#include <algorithm>
#include <cstdio>

std::size_t DisplayWidth(const std::string& utf8) {
    std::size_t width = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
    return width;
}

std::string TextTable::Render() const {
    std::vector<std::size_t> widths;
    for (const auto& row : rows_) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
    }
    std::string text;
    for (const auto& row : rows_) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            text += row[i];
            if (i + 1 < row.size()) text.append(widths[i] - DisplayWidth(row[i]) + 2, ' ');
        }
        text += '\n';
    }
    return text;
}

void TextTable::Print() const {
    std::fputs(Render().c_str(), stdout);
}
