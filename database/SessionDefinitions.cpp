#include "database/SessionDefinitions.h"

SessionDefinitions::SessionDefinitions(MessageSink& sink, const std::filesystem::path& directory)
    : DefinitionDatabase(std::filesystem::absolute(directory) / "database.ini"), sink_(sink) {}

SessionDefinitions::~SessionDefinitions() {
    if (SaveLanguage()) return;
    try {
        sink_.ShowError("Unable to write to " + IniFile.Path().string());
    } catch (...) {
        // Nothing may leave a destructor; the port must still be closed after us.
    }
}
