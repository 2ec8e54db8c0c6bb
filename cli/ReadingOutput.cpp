#include "cli/ReadingOutput.h"

#include <cstdio>

#include "cli/TextTable.h"
#include "database/ValueText.h"
#include "lang/Lang.h"

namespace {

// A CSV field, quoted when it holds a separator or a quote.
std::string CsvField(const std::string& text, const CsvStyle& style) {
    if (text.find_first_of(std::string{style.Separator, '"', '\n'}) == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::optional<CsvStyle> CsvStyleOf(const std::string& format) {
    if (format == "csv") return CsvStyle{};
    if (format == "csv-semicolon") return CsvStyle{';', ',', true};
    return std::nullopt;
}

const std::vector<std::string>& OutputFormats() {
    static const std::vector<std::string> formats{"table", "csv", "csv-semicolon"};
    return formats;
}

void PrintCsvStart(const CsvStyle& style) {
    if (style.ByteOrderMark) std::fputs("\xEF\xBB\xBF", stdout);
}

void PrintCsvHeader(const ParameterSets& sets, const CsvStyle& style) {
    std::string line = "time";
    for (const ParameterDef* def : sets.Slots) {
        std::string column = Printable(def->CodeEn);
        if (!def->Unit->empty()) column += " [" + Printable(*def->Unit) + "]";
        line += style.Separator + CsvField(column, style);
    }
    std::printf("%s\n", line.c_str());
}

void PrintCsvLine(const ParameterSets& sets, const std::string& time, const CsvStyle& style) {
    std::string line = time;
    for (int slot = 0; slot < SlotCount; ++slot) {
        line += style.Separator;
        if (const auto value = ShownValue(sets, slot))
            line += ValueText(*value, sets.Slots[slot]->Digits, style.Decimal);
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void PrintLiveTable(const ParameterSets& sets, int languageIndex, const std::string& title,
                    bool terminal) {
    const auto& texts = LangText[static_cast<std::size_t>(languageIndex)];
    TextTable table;
    table.Add({texts[Lang::CodeColumn], texts[Lang::NameColumn], texts[Lang::ValueColumn],
               texts[Lang::UnitColumn]});
    for (int slot = 0; slot < SlotCount; ++slot) {
        const ParameterDef& def = *sets.Slots[slot];
        const auto value = ShownValue(sets, slot);
        table.Add({Printable(def.CodeEn), Printable(*def.Name),
                   value ? ValueText(*value, def.Digits) : "-", Printable(*def.Unit)});
    }
    std::string text = terminal ? "\x1b[H\x1b[2J" : "\n";
    text += title + "\n\n" + table.Render();
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

void PrintErrorList(const std::vector<ErrorLine>& lines) {
    TextTable table;
    for (const ErrorLine& error : lines) {
        std::string name = Printable(error.Name);
        if (error.Code.empty() && name.empty())
            name = "(no definition of error " + std::to_string(error.Number) + ")";
        table.Add({Printable(error.Code), name});
    }
    table.Print();
    std::printf("%s%zu\n", Lang::QuantityOfErrorsText, lines.size());
    // Before whatever is said about the list on standard error.
    std::fflush(stdout);
}
