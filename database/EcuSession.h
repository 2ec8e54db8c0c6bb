#pragma once
// The one session with the ECU: its serial port first, then the protocol
// requests with the texts they fill.

#include <filesystem>

#include "protocol/EcuProtocol.h"
#include "serial/MessageSink.h"
#include "serial/SerialPort.h"

class EcuSession : public SerialPort, public EcuProtocol {
public:
    explicit EcuSession(MessageSink& sink,
                        std::filesystem::path directory = std::filesystem::current_path())
        : SerialPort(sink, directory), EcuProtocol(static_cast<SerialPort&>(*this)) {}
};
