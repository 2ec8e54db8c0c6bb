#include "cli/CliDefinitions.h"

#include <cstdio>
#include <filesystem>

#include "cli/TextTable.h"
#include "database/ProfileValues.h"

void AddLanguageOption(CLI::App& command, std::string& language, const std::string& names) {
    command.add_option(names, language, "Show the texts in this language instead of the file's")
        ->check(CLI::IsMember({"ru", "en"}, CLI::ignore_case));
}

// The window shows the conversion error alone; here the user also learns
// where to look.
void SayConversionError(const ConversionError& error) {
    if (error.Section.empty())
        std::fprintf(stderr, "Error: %s\n", error.what());
    else
        std::fprintf(stderr, "Error: database.ini, section [%s]: Address=%s (%s).\n",
                     error.Section.c_str(), Printable(error.Value).c_str(),
                     Printable(error.what()).c_str());
}

namespace {

std::filesystem::path DefinitionFile() {
    return std::filesystem::current_path() / "database.ini";
}

}  // namespace

std::unique_ptr<DefinitionDatabase> ReadDefinitions(const std::string& language) {
    std::unique_ptr<DefinitionDatabase> database;
    try {
        database = std::make_unique<DefinitionDatabase>(DefinitionFile());
    } catch (const ConversionError& error) {
        SayConversionError(error);
        return nullptr;
    }
    if (const auto chosen = ChosenLanguage(language)) {
        database->LanguageIndex = *chosen;
        database->ApplyDefinitionLanguage();
    }
    return database;
}

std::optional<std::uint8_t> ChosenLanguage(const std::string& language) {
    if (language.empty()) return std::nullopt;
    return (language == "en" || language == "EN") ? 1 : 0;
}

bool WasRead(const DefinitionDatabase& database) {
    if (database.IniFile.ReadFailure().empty()) return true;
    std::fprintf(stderr, "Error: %s cannot be read: %s.\n",
                 PrintablePath(database.IniFile.Path()).c_str(),
                 database.IniFile.ReadFailure().c_str());
    return false;
}

std::unique_ptr<DefinitionDatabase> LoadDefinitions(const std::string& language) {
    auto database = ReadDefinitions(language);
    return database && WasRead(*database) ? std::move(database) : nullptr;
}
