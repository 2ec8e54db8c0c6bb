#pragma once
// Text output of the command-line tool: cp1251 texts from database.ini made
// safe UTF-8 for a terminal, and rows printed in aligned columns.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "text/PathText.h"
#include "text/Printable.h"

// Characters a UTF-8 text takes on a terminal (one per code point).
std::size_t DisplayWidth(const std::string& utf8);

// Rows of cells printed in columns; the last column is not padded.
class TextTable {
public:
    void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
    std::string Render() const;
    void Print() const;

private:
    std::vector<std::vector<std::string>> rows_;
};
