#pragma once
// The one session with the ECU: its serial port first, then the protocol
// requests with the texts they fill, then the definitions of database.ini.
//
// The base classes fix the order of the session's life: the closed port is
// built first; then the definition tables, the file bound to
// <directory>/database.ini and its loading; last the slot map, with set 0
// selected. At the end the language is written back, the file and the tables
// are released, and the port, last, is closed.

#include <filesystem>

#include "database/ParameterSets.h"
#include "database/SessionDefinitions.h"
#include "protocol/EcuProtocol.h"
#include "serial/MessageSink.h"
#include "serial/SerialPort.h"

class EcuSession : public SerialPort,
                   public EcuProtocol,
                   public SessionDefinitions,
                   public ParameterSets {
public:
    // Throws ConversionError when an "Address" of database.ini is not hexadecimal.
    explicit EcuSession(MessageSink& sink,
                        std::filesystem::path directory = std::filesystem::current_path())
        : SerialPort(sink, directory),
          EcuProtocol(static_cast<SerialPort&>(*this)),
          SessionDefinitions(sink, directory),
          ParameterSets(Parameters) {}
};
