#pragma once
// How every front end makes its session: the window, and each command of the
// command-line tool that talks to the ECU. Finding the port is each front
// end's own step afterwards: the window fills its port list as ports are
// tried, the command-line tool says on a terminal what each port did.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "session/EcuSession.h"

struct SessionOptions {
    // Holds database.ini; its dosdevices/ names the ports.
    std::filesystem::path Directory = std::filesystem::current_path();
    DefinitionUse Definitions = DefinitionUse::Read;
    // The definitions' texts in this language (0 Russian, 1 English) rather
    // than in the file's.
    std::optional<std::uint8_t> Language;
    // Records the line into this file (see recording/LineRecording.h) when
    // not empty; an existing file is replaced only with ForceRecording.
    std::string RecordPath;
    bool ForceRecording = false;
    // Another port than the machine's (tests script one).
    std::unique_ptr<PortLink> Port;
};

// The recording could not be created: the session does not start, and
// nothing has been sent. what() says it as a sentence.
class RecordingNotCreated : public std::runtime_error {
public:
    RecordingNotCreated(const std::string& path, const std::string& reason);
};

// The line with its port closed, the definitions as asked for, the sets with
// set 0 selected, then the recording. Throws ConversionError when an "Address"
// of database.ini is not hexadecimal, and RecordingNotCreated; what was made
// has ended by then (a window's session has written its language back).
std::unique_ptr<EcuSession> MakeSession(MessageSink& sink, SessionOptions options);
