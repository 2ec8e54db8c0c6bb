#pragma once
// The window's one session with the ECU: the line first, then the definitions
// of database.ini, then the parameter sets over them.
//
// The members fix the order of the session's life: the closed port is built
// first; then the definition tables, the file bound to
// <directory>/database.ini and its loading; last the slot map, with set 0
// selected. At the end the language is written back, the file and the tables
// are released, and the port, last, is closed.

#include <filesystem>
#include <memory>

#include "database/ParameterSets.h"
#include "database/SessionDefinitions.h"
#include "line/EcuLine.h"
#include "platform/MessageSink.h"

class EcuSession {
public:
    // Throws ConversionError when an "Address" of database.ini is not
    // hexadecimal. The port's names resolve against the same folder.
    explicit EcuSession(MessageSink& sink,
                        const std::filesystem::path& directory = std::filesystem::current_path())
        : Line(sink, directory), Definitions(sink, directory), Sets(Definitions.Parameters) {}
    // The same over another port (tests script one).
    EcuSession(MessageSink& sink, const std::filesystem::path& directory,
               std::unique_ptr<PortLink> port)
        : Line(sink, std::move(port)), Definitions(sink, directory), Sets(Definitions.Parameters) {}

    EcuLine Line;
    SessionDefinitions Definitions;
    ParameterSets Sets;
};
