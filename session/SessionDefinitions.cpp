#include "session/SessionDefinitions.h"

std::filesystem::path DefinitionFileOf(const std::filesystem::path& directory) {
    return std::filesystem::absolute(directory) / "database.ini";
}

SessionDefinitions::SessionDefinitions(MessageSink& sink, const std::filesystem::path& directory,
                                       DefinitionUse use)
    : DefinitionDatabase(use == DefinitionUse::None ? std::filesystem::path()
                                                    : DefinitionFileOf(directory)),
      sink_(sink),
      keepsLanguage_(use == DefinitionUse::KeepLanguage) {}

SessionDefinitions::~SessionDefinitions() {
    if (!keepsLanguage_ || SaveLanguage()) return;
    try {
        // The message as the tool has always said it, then the system's reason
        // on a line of its own.
        std::string text = "Unable to write to " + IniFile.Path().string();
        if (!IniFile.WriteFailure().empty()) text += "\n" + IniFile.WriteFailure();
        sink_.ShowError(text);
    } catch (...) {
        // Nothing may leave a destructor; the port must still be closed after us.
    }
}
