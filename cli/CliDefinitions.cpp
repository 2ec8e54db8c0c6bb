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

std::unique_ptr<DefinitionDatabase> LoadSessionDefinitions(const std::string& language,
                                                           bool needsParameters) {
    const DefinitionFileNotice notice = InspectDefinitionFile(DefinitionFile());
    if (needsParameters && (notice.Missing || notice.NoParameters)) {
        const std::string folder = PrintablePath(notice.Path.parent_path());
        if (notice.Missing)
            std::fprintf(stderr, "There is no definition file: database.ini is not in %s.\n",
                         folder.c_str());
        else
            std::fprintf(stderr,
                         "database.ini in %s defines no parameter (no section [0000] to "
                         "[007F]).\n",
                         folder.c_str());
        std::fprintf(stderr,
                     "The parameters to read, and their addresses in the ECU, come from that "
                     "file, so there is nothing to read without it. Run vmxdiag-cli in the "
                     "folder that holds the definition file of your ECU, or put it here (the "
                     "program comes with a sample database.ini).\n");
        return nullptr;
    }
    for (const std::string& line : NoticeLines(notice))
        std::fprintf(stderr, "%s\n", Printable(line).c_str());
    if (!notice.Unreadable.empty()) return nullptr;
    // An Address that stops the start is among the errors said; the
    // conversion error itself would only say it again.
    return LoadDefinitions(language, !notice.Errors.empty());
}
