#include "cli/CliDefinitions.h"

#include <cstdio>
#include <exception>
#include <filesystem>

#include "cli/TextTable.h"
#include "database/DefinitionFileNotice.h"
#include "database/ProfileValues.h"

void AddLanguageOption(CLI::App& command, std::string& language, const std::string& names) {
    command.add_option(names, language, "Show the texts in this language instead of the file's")
        ->check(CLI::IsMember({"ru", "en"}, CLI::ignore_case));
}

namespace {

std::filesystem::path DefinitionFile() {
    return std::filesystem::current_path() / "database.ini";
}

}  // namespace

std::unique_ptr<DefinitionDatabase> ReadDefinitions(const std::string& language,
                                                    bool conversionSaid) {
    std::unique_ptr<DefinitionDatabase> database;
    try {
        database = std::make_unique<DefinitionDatabase>(DefinitionFile());
    } catch (const ConversionError& error) {
        if (conversionSaid) return nullptr;
        // The window shows the conversion error alone; here the user also
        // learns where to look.
        if (error.Section.empty())
            std::fprintf(stderr, "Error: %s\n", error.what());
        else
            std::fprintf(stderr, "Error: database.ini, section [%s]: Address=%s (%s).\n",
                         error.Section.c_str(), Printable(error.Value).c_str(),
                         Printable(error.what()).c_str());
        return nullptr;
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

std::unique_ptr<DefinitionDatabase> LoadDefinitions(const std::string& language,
                                                    bool conversionSaid) {
    auto database = ReadDefinitions(language, conversionSaid);
    if (database && !database->IniFile.ReadFailure().empty()) {
        std::fprintf(stderr, "Error: %s cannot be read: %s.\n",
                     PrintablePath(database->IniFile.Path()).c_str(),
                     database->IniFile.ReadFailure().c_str());
        return nullptr;
    }
    return database;
}

std::unique_ptr<DefinitionDatabase> LoadSessionDefinitions(const std::string& language) {
    const DefinitionFileNotice notice = InspectDefinitionFile(DefinitionFile());
    for (const std::string& line : NoticeLines(notice))
        std::fprintf(stderr, "%s\n", Printable(line).c_str());
    if (!notice.Unreadable.empty()) return nullptr;
    // An Address that stops the start is among the errors said; the
    // conversion error itself would only say it again.
    return LoadDefinitions(language, !notice.Errors.empty());
}
