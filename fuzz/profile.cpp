// Any bytes as database.ini: indexing and reading must not fault, a value never
// exceeds its cut, the conversions of every value hold, and setting a key reads
// back as set, changes one stretch of the text and leaves other keys alone. The
// lines as enumerated agree with reading, and the check of a hand-written file
// points only at lines that exist.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "database/DefinitionCheck.h"
#include "database/ProfileText.h"
#include "database/ProfileValues.h"
#include "text/CodePage.h"

namespace {

const char* const Sections[] = {"Configuration", "0000", "000A", "007F", "0100", "017F"};
const char* const Keys[] = {"Language", "CodeEn", "NameRu", "NameEn",  "UnitRu",   "UnitEn",
                            "Address",  "Length", "Signed", "Formula", "Digits",   "Min",
                            "Max",      "Color",  "Bit",    "Code",    "ReasonRu", "ReasonEn"};

void Check(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::optional<std::string>> ReadAll(const ProfileText& text) {
    std::vector<std::optional<std::string>> values;
    for (const char* section : Sections) {
        for (const char* key : Keys) values.push_back(text.Read(section, key));
    }
    return values;
}

void Convert(const std::string& value) {
    (void)ParseInteger(value);
    (void)ParseDecimal(value);
    try {
        (void)ParseAddress(value);
    } catch (const ConversionError& error) {
        Check(std::string_view(error.what()).starts_with("'0x"));
    }
}

// The edit stays within one line: the old bytes it removed hold no line end,
// so every other line keeps its bytes.
void CheckWithinOneLine(const std::string& before, const std::string& after) {
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::string_view removed =
        std::string_view(before).substr(prefix, before.size() - prefix - suffix);
    Check(removed.find('\n') == removed.npos);
}

// Every line that reading uses gives the value Read finds for its key, and
// blocks point at their headers.
void CheckLines(const ProfileText& text) {
    const std::vector<ProfileText::Line> lines = text.Lines();
    for (const ProfileText::Line& line : lines) {
        Check(line.Block <= line.Number);
        if (line.Block == 0) continue;
        const ProfileText::Line& header = lines[line.Block - 1];
        Check(header.Type == ProfileText::Line::Kind::Header);
        if (line.Type != ProfileText::Line::Kind::Entry || !line.Read) continue;
        Check(header.Read);
        const std::string name(header.Name);
        const std::string key(line.Name);
        const std::size_t cut = std::min(line.Value.size(), ProfileText::MaxValueLength);
        Check(text.Read(name, key) == std::string(line.Value.substr(0, cut)));
    }
    // Line 1 stands for the file as a whole, also for one without a line.
    for (const DefinitionFinding& finding : CheckDefinitions(text)) {
        Check(finding.Line >= 1 && finding.Line <= std::max<std::size_t>(lines.size(), 1));
    }
}

void CheckSet(ProfileText text, const char* section, const char* key, const std::string& value) {
    if (!ProfileText::CanStore(section, key, value)) return;
    const std::string before = text.Bytes();
    std::vector<std::optional<std::string>> others = ReadAll(text);
    const bool changed = text.Set(section, key, value);
    Check(text.Read(section, key) == value);
    if (!changed) {
        Check(text.Bytes() == before);
        return;
    }
    CheckWithinOneLine(before, text.Bytes());
    std::vector<std::optional<std::string>> now = ReadAll(text);
    std::size_t i = 0;
    for (const char* s : Sections) {
        for (const char* k : Keys) {
            if (std::string_view(s) != section || std::string_view(k) != key) {
                Check(now[i] == others[i]);
            }
            ++i;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ProfileText text(bytes);
    for (const auto& value : ReadAll(text)) {
        if (!value) continue;
        Check(value->size() <= ProfileText::MaxValueLength);
        Convert(*value);
    }
    // The conversions also meet every raw value of the input, found or not.
    for (std::size_t equals = bytes.find('='); equals != bytes.npos;
         equals = bytes.find('=', equals + 1)) {
        const std::size_t end = bytes.find_first_of("\r\n", equals);
        Convert(bytes.substr(equals + 1, std::min<std::size_t>(end - equals - 1, 64)));
    }
    CheckLines(text);
    CheckSet(text, "Configuration", "Language", "EN");
    CheckSet(text, "0000", "CodeEn", "NMOT");
    // A value taken from the input itself, quotes and blanks included.
    const std::string tail = bytes.substr(bytes.size() / 2, 40);
    CheckSet(text, "017F", "ReasonEn", tail);

    const std::string utf8 = Cp1251ToUtf8(bytes.substr(0, 4096));
    (void)Utf8ToCp1251(utf8);
    (void)Utf8ToCp1251(bytes.substr(0, 4096));
    (void)Cp866ToCp1251(bytes.substr(0, 4096));
    return 0;
}
