#include "session/EcuSession.h"

#include "serial/SerialPort.h"

EcuSession::EcuSession(MessageSink& sink, const std::filesystem::path& directory,
                       std::unique_ptr<PortLink> port, DefinitionUse use)
    : Line(sink, port ? std::move(port) : std::make_unique<SerialPort>(directory)),
      Definitions(sink, directory, use),
      Sets(Definitions.Parameters) {}
