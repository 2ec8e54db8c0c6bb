#include "database/SessionDefinitions.h"

SessionDefinitions::SessionDefinitions(MessageSink& sink, const std::filesystem::path& directory)
    : DefinitionDatabase(std::filesystem::absolute(directory) / "database.ini"), sink_(sink) {}

SessionDefinitions::~SessionDefinitions() {
    if (SaveLanguage()) return;
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
