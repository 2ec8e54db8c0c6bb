#pragma once
// The definitions as a session holds them: database.ini of a folder, loaded
// when the session starts, with the language written back when it ends. A
// failed write is reported through the sink and leaves the file as it was.

#include <filesystem>

#include "database/DefinitionDatabase.h"
#include "platform/MessageSink.h"

class SessionDefinitions : public DefinitionDatabase {
public:
    // Throws ConversionError when an "Address" of the file is not hexadecimal.
    SessionDefinitions(MessageSink& sink, const std::filesystem::path& directory);
    ~SessionDefinitions();

private:
    MessageSink& sink_;
};
