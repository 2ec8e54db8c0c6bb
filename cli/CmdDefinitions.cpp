// vmxdiag-cli definitions: prints the parameter and error definitions that
// database.ini of the current directory gives, in UTF-8. It never writes the
// file, so it uses the definitions alone and not a session (whose end would
// write the language back).

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "database/DefinitionDatabase.h"
#include "database/ProfileValues.h"
#include "text/CodePage.h"

namespace {

// A definition counts as in use when its section is in the file: every text of
// a definition comes from its section, so one without it is all defaults.
bool InUse(const DefinitionDatabase& database, const std::string& section) {
    return database.IniFile.HasSection(section);
}

// Terminal-safe UTF-8 of a cp1251 text: control characters from the file must
// not reach the terminal as such.
std::string Printable(const std::string& cp1251) {
    std::string text = cp1251;
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return Cp1251ToUtf8(text);
}

std::size_t DisplayWidth(const std::string& utf8) {
    std::size_t width = 0;
    for (char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
    }
    return width;
}

// Rows of cells printed in columns; the last column is not padded.
class Table {
public:
    void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }

    void Print() const {
        std::vector<std::size_t> widths;
        for (const auto& row : rows_) {
            widths.resize(std::max(widths.size(), row.size()));
            for (std::size_t i = 0; i < row.size(); ++i) {
                widths[i] = std::max(widths[i], DisplayWidth(row[i]));
            }
        }
        for (const auto& row : rows_) {
            std::string line;
            for (std::size_t i = 0; i < row.size(); ++i) {
                line += row[i];
                if (i + 1 < row.size()) line.append(widths[i] - DisplayWidth(row[i]) + 2, ' ');
            }
            std::printf("%s\n", line.c_str());
        }
    }

private:
    std::vector<std::vector<std::string>> rows_;
};

void PrintParameters(const DefinitionDatabase& database) {
    Table table;
    table.Add({"Index", "Code", "Name", "Unit", "Address", "Signed", "Formula", "Digits"});
    std::size_t count = 0;
    for (std::size_t i = 0; i < DefinitionDatabase::DefinitionCount; ++i) {
        if (!InUse(database, DefinitionDatabase::ParameterSection(i))) continue;
        const ParameterDef& def = database.Parameters[i];
        char address[16];
        std::snprintf(address, sizeof address, "%04X", static_cast<unsigned>(def.Address));
        table.Add({std::to_string(i), Printable(def.CodeEn), Printable(*def.Name),
                   Printable(*def.Unit), address, def.Signed ? "yes" : "no", Printable(def.Formula),
                   std::to_string(def.Digits)});
        ++count;
    }
    std::printf("\nParameters in use: %zu of %zu\n", count, DefinitionDatabase::DefinitionCount);
    if (count > 0) table.Print();
}

void PrintErrors(const DefinitionDatabase& database) {
    Table table;
    table.Add({"Index", "Code", "Name", "Reason"});
    std::size_t count = 0;
    for (std::size_t n = 0; n < DefinitionDatabase::DefinitionCount; ++n) {
        if (!InUse(database, DefinitionDatabase::ErrorSection(n))) continue;
        const ErrorDef& def = database.Errors[n];
        table.Add(
            {std::to_string(n), Printable(def.Code), Printable(*def.Name), Printable(*def.Reason)});
        ++count;
    }
    std::printf("\nErrors in use: %zu of %zu\n", count, DefinitionDatabase::DefinitionCount);
    if (count > 0) table.Print();
}

int PrintDefinitions(const std::string& language) {
    const std::filesystem::path path = std::filesystem::current_path() / "database.ini";
    std::unique_ptr<DefinitionDatabase> database;
    try {
        database = std::make_unique<DefinitionDatabase>(path);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Error: %s\n", error.what());
        return 1;
    }
    if (!language.empty()) {
        database->LanguageIndex = (language == "en" || language == "EN") ? 1 : 0;
        database->ApplyDefinitionLanguage();
    }
    std::error_code error;
    const bool found = std::filesystem::exists(path, error);
    std::printf("File: %s%s\n", path.c_str(), found ? "" : " (not found: all defaults)");
    std::printf("Language: %s\n", database->LanguageIndex == 1 ? "EN (English)" : "RU (Russian)");
    PrintParameters(*database);
    PrintErrors(*database);
    return 0;
}

}  // namespace

void AddDefinitionsCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand(
        "definitions", "Prints the parameter and error definitions of database.ini (read-only)");
    auto language = std::make_shared<std::string>();
    command
        ->add_option("--lang", *language, "Show the texts in this language instead of the file's")
        ->check(CLI::IsMember({"ru", "en"}, CLI::ignore_case));
    command->callback([language, &status] { status = PrintDefinitions(*language); });
}
