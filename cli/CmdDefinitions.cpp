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

#include "cli/CliDefinitions.h"
#include "cli/Command.h"
#include "cli/TextTable.h"
#include "database/DefinitionDatabase.h"
#include "database/ProfileValues.h"

namespace {

// A definition counts as in use when its section is in the file: every text of
// a definition comes from its section, so one without it is all defaults.
bool InUse(const DefinitionDatabase& database, const std::string& section) {
    return database.IniFile.HasSection(section);
}

void PrintParameters(const DefinitionDatabase& database) {
    TextTable table;
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
    TextTable table;
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
    const auto database = ReadDefinitions(language);
    if (!database) return 1;
    const std::filesystem::path& path = database->IniFile.Path();
    const std::string& failure = database->IniFile.ReadFailure();
    if (!failure.empty()) {
        std::printf("File: %s (cannot be read: %s)\n", PrintablePath(path).c_str(),
                    failure.c_str());
        return 1;
    }
    std::error_code error;
    const bool found = std::filesystem::exists(path, error);
    std::printf("File: %s%s\n", PrintablePath(path).c_str(),
                found ? "" : " (not found: all defaults)");
    std::printf("Language: %s\n", database->LanguageIndex == 1 ? "EN (English)" : "RU (Russian)");
    PrintParameters(*database);
    PrintErrors(*database);
    return 0;
}

void DeclareDefinitions(CLI::App& command, std::string& language) {
    AddLanguageOption(command, language);
}

}  // namespace

void AddDefinitionsCommand(CLI::App& app, int& status) {
    AddCommand(app, status, "definitions",
               "Print the parameter and error definitions of database.ini (read-only)",
               PrintDefinitions, DeclareDefinitions);
}
