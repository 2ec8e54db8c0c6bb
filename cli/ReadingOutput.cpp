#include "cli/ReadingOutput.h"

#include <cstdio>

#include "cli/TextTable.h"
#include "database/ValueText.h"
#include "lang/Lang.h"

std::optional<CsvStyle> CsvStyleOf(const std::string& format) {
    if (format == "csv") return CsvStyle{};
    if (format == "csv-semicolon") return CsvStyle{';', ',', true};
    return std::nullopt;
}

void AddFormatOption(CLI::App& command, std::string& format, const std::string& help) {
    command.add_option("--format", format, help)
        ->check(CLI::IsMember({"table", "csv", "csv-semicolon"}));
}

void PrintCsvStart(const CsvStyle& style) {
    std::fputs(CsvStart(style).c_str(), stdout);
}

void PrintCsvHeader(const ParameterSets& sets, const CsvStyle& style) {
    std::fputs(CsvHeader(sets.Slots, style).c_str(), stdout);
}

void PrintCsvLine(const ParameterSets& sets, const std::string& time, const CsvStyle& style) {
    std::fputs(CsvRow(sets, time, style).c_str(), stdout);
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
        // A value outside its range is marked, as the window colours it.
        std::string shown = value ? ValueText(*value, def.Digits) : "-";
        if (value && OutOfRange(def, *value)) shown += '!';
        table.Add({Printable(def.CodeEn), Printable(*def.Name), shown, Printable(*def.Unit)});
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
