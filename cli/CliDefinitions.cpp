#include "cli/CliDefinitions.h"

#include <cstdio>
#include <exception>
#include <filesystem>

void AddLanguageOption(CLI::App& command, std::string& language) {
    command.add_option("--lang", language, "Show the texts in this language instead of the file's")
        ->check(CLI::IsMember({"ru", "en"}, CLI::ignore_case));
}

std::unique_ptr<DefinitionDatabase> LoadDefinitions(const std::string& language) {
    std::unique_ptr<DefinitionDatabase> database;
    try {
        database =
            std::make_unique<DefinitionDatabase>(std::filesystem::current_path() / "database.ini");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Error: %s\n", error.what());
        return nullptr;
    }
    if (!language.empty()) {
        database->LanguageIndex = (language == "en" || language == "EN") ? 1 : 0;
        database->ApplyDefinitionLanguage();
    }
    return database;
}
