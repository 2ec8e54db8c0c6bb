#pragma once
// The session of a command that talks to the ECU, as the tool sets it up: the
// options --port, --lang and --record, what database.ini holds said on
// standard error, the session made (session/SessionFactory.h, never writing
// database.ini), and the port found, with the ports tried (on a terminal),
// why a port did not open, and which port and ECU answered said on the way.

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "presentation/PortSearchMessages.h"
#include "session/EcuSession.h"

// The core's messages on standard error, "Error: ..." each. While ports are
// tried, their messages are held back: they are said in one sentence with
// the port and its device (PortTrouble).
class CliMessages : public PortSearchMessages {
protected:
    void Say(const std::string& text) override;
};

// --record FILE and --force of a command.
struct RecordOption {
    std::string Path;  // empty: no recording
    bool Force = false;
};

// The options of a command's session.
struct SessionChoice {
    std::string Port;      // empty: find the ECU
    std::string Language;  // "ru" or "en"; empty: the file's
    RecordOption Record;
};

// What a command needs of database.ini.
enum class DefinitionNeed {
    None,        // nothing: the file is not read (probe)
    Texts,       // its texts, if it is there (info, errors, clear-errors)
    Parameters,  // its parameters: without one there is nothing to read (live)
};

// Adds --port NAME and --lang to a command.
void AddSessionOptions(CLI::App& command, SessionChoice& choice);
// The same, and --record FILE and --force.
void AddRecordingSessionOptions(CLI::App& command, SessionChoice& choice);

// Says what is amiss with database.ini (presentation/DefinitionFileNotice.h)
// when the command needs it, then makes the session: the definitions read
// in the language chosen, and the recording. Null, with the reason on
// standard error, when the file cannot be read, an Address stops the start,
// the parameters needed are not there, or the recording cannot be created.
std::unique_ptr<EcuSession> StartSession(CliMessages& messages, const SessionChoice& choice,
                                         DefinitionNeed need);

// Opens `portName` when one is given, otherwise each listed port in turn, as
// the window does at start-up, and keeps the first on which the probe is
// answered. On success the port, its device and the ECU's program version
// are said on standard error; while ports are searched on a terminal, each
// one tried is said too. False, with the reason on standard error, when no
// port could be opened or no ECU answered.
bool ConnectLine(EcuLine& line, CliMessages& messages, const std::string& portName);

// StartSession, then ConnectLine: the session of a command on the line to
// the ECU, or null.
std::unique_ptr<EcuSession> ConnectSession(CliMessages& messages, const SessionChoice& choice,
                                           DefinitionNeed need);

// Writes the recording's new lines; call it between exchanges. A write that
// fails ends the recording with one message on standard error, never the run.
void SaveRecording(EcuLine& line);

// Adds --port NAME to a command. An empty name is refused: it would otherwise
// read as no name at all and send frames to every port.
void AddPortOption(CLI::App& command, std::string& port, const std::string& help);

// Adds NAME FILE, a file the command makes (an empty name is refused), and
// --force, which goes with it and lets the file replace one that exists.
void AddNewFileOption(CLI::App& command, const std::string& name, std::string& path, bool& force,
                      const std::string& help);
