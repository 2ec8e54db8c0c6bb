#pragma once
// The one session with the ECU, the same for the window and for every command
// of the command-line tool that talks to the ECU: the line first, then the
// definitions of database.ini, then the parameter sets over them. Front ends
// make it with MakeSession (session/SessionFactory.h).
//
// The members fix the order of the session's life: the closed port is built
// first; then the definition tables, the file bound to
// <directory>/database.ini and its loading; last the slot map, with set 0
// selected. At the end the language is written back (by a session that keeps
// it), the file and the tables are released, and the port, last, is closed.

#include <filesystem>
#include <memory>

#include "database/ParameterSets.h"
#include "line/EcuLine.h"
#include "platform/MessageSink.h"
#include "serial/PortLink.h"
#include "session/SessionDefinitions.h"

class EcuSession {
public:
    // The port's names resolve against `directory` too. Throws ConversionError
    // when an "Address" of database.ini is not hexadecimal.
    EcuSession(MessageSink& sink, const std::filesystem::path& directory,
               std::unique_ptr<PortLink> port, DefinitionUse use);

    EcuLine Line;
    SessionDefinitions Definitions;
    ParameterSets Sets;
};
