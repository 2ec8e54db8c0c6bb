#pragma once
// The definitions as a session holds them: database.ini of a folder, loaded
// when the session starts. The window writes the language back when it ends;
// a failed write is reported through the sink and leaves the file as it was.
// The command-line tool only reads the file, and a command that needs no
// definitions reads none.

#include <filesystem>

#include "database/DefinitionDatabase.h"
#include "platform/MessageSink.h"

enum class DefinitionUse {
    None,          // nothing is read: every definition keeps its default
    Read,          // read at the start, never written
    KeepLanguage,  // read at the start, the language written back at the end
};

class SessionDefinitions : public DefinitionDatabase {
public:
    // Throws ConversionError when an "Address" of the file is not hexadecimal.
    SessionDefinitions(MessageSink& sink, const std::filesystem::path& directory,
                       DefinitionUse use = DefinitionUse::KeepLanguage);
    ~SessionDefinitions();

private:
    MessageSink& sink_;
    bool keepsLanguage_;
};

// database.ini of a folder, as the session binds it.
std::filesystem::path DefinitionFileOf(const std::filesystem::path& directory);
