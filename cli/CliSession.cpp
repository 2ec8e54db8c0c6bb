#include "cli/CliSession.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/CliDefinitions.h"
#include "cli/Console.h"
#include "cli/TextTable.h"
#include "presentation/DefinitionFileNotice.h"
#include "presentation/LineWording.h"
#include "session/SessionFactory.h"

namespace {

// A port tried, as the search goes: "COM2 (/dev/ttyS0): no answer".
void SayTried(const PortProbe& probe) {
    const std::string trouble = PortTrouble(probe);
    const std::string outcome = probe.Answered    ? "the ECU answers"
                                : trouble.empty() ? "no answer"
                                                  : trouble;
    std::fprintf(stderr, "  %s: %s\n", PortShown(probe.Name, probe.Device).c_str(),
                 outcome.c_str());
}

// Why the ports tried did not do, once the search is over.
void SayWhyNot(const std::string& portName, const PortDetection& detection, bool saidEach) {
    if (!portName.empty()) {
        const PortProbe& probe = detection.Tried.front();
        const std::string trouble = PortTrouble(probe);
        if (probe.Open != OpenOutcome::Opened)
            std::fprintf(stderr, "Port %s: %s.\n", PortShown(portName, probe.Device).c_str(),
                         trouble.c_str());
        else
            std::fprintf(stderr, "No ECU answers on %s%s%s.\n",
                         PortShown(portName, probe.Device).c_str(), trouble.empty() ? "" : "; it ",
                         trouble.c_str());
        return;
    }
    if (detection.Tried.empty()) {
        std::fprintf(stderr, "No serial ports found.\n");
        return;
    }
    // The ECU may well be behind a port that did not open.
    if (!saidEach)
        for (const PortProbe& probe : detection.Tried)
            if (const std::string trouble = PortTrouble(probe); !trouble.empty())
                std::fprintf(stderr, "Port %s: %s.\n", PortShown(probe.Name, probe.Device).c_str(),
                             trouble.c_str());
    std::fprintf(stderr, "No ECU answered on any port (use --port to pick one).\n");
}

// Adds --record FILE and --force.
void AddRecordOption(CLI::App& command, RecordOption& record) {
    AddNewFileOption(command, "--record", record.Path, record.Force,
                     "Record every byte to and from the port into FILE, a new regular file "
                     "(see 'replay')");
}

// The file is missing or defines no parameter: the parameters to read, and
// their addresses in the ECU, come from it.
void SayNoParameters(const DefinitionFileNotice& notice) {
    const std::string folder = PrintablePath(notice.Path.parent_path());
    if (notice.Missing)
        std::fprintf(stderr, "There is no definition file: database.ini is not in %s.\n",
                     folder.c_str());
    else
        std::fprintf(stderr,
                     "database.ini in %s defines no parameter (no section [0000] to "
                     "[007F]).\n",
                     folder.c_str());
    std::fprintf(stderr,
                 "The parameters to read, and their addresses in the ECU, come from that "
                 "file, so there is nothing to read without it. Run vmxdiag-cli in the "
                 "folder that holds the definition file of your ECU, or put it here (the "
                 "program comes with a sample database.ini).\n");
}

}  // namespace

void AddSessionOptions(CLI::App& command, SessionChoice& choice) {
    AddPortOption(command, choice.Port, "Port name or device (default: find the ECU)");
    AddLanguageOption(command, choice.Language);
}

void AddRecordingSessionOptions(CLI::App& command, SessionChoice& choice) {
    AddSessionOptions(command, choice);
    AddRecordOption(command, choice.Record);
}

std::unique_ptr<EcuSession> StartSession(CliMessages& messages, const SessionChoice& choice,
                                         DefinitionNeed need) {
    SessionOptions options;
    options.Definitions = need == DefinitionNeed::None ? DefinitionUse::None : DefinitionUse::Read;
    options.Language = ChosenLanguage(choice.Language);
    options.RecordPath = choice.Record.Path;
    options.ForceRecording = choice.Record.Force;
    // An Address that stops the start is among the errors the notice says;
    // the conversion error itself would only say it again.
    bool conversionSaid = false;
    if (need != DefinitionNeed::None) {
        const DefinitionFileNotice notice =
            InspectDefinitionFile(DefinitionFileOf(options.Directory));
        if (need == DefinitionNeed::Parameters && (notice.Missing || notice.NoParameters)) {
            SayNoParameters(notice);
            return nullptr;
        }
        for (const std::string& line : NoticeLines(notice))
            std::fprintf(stderr, "%s\n", Printable(line).c_str());
        if (!notice.Unreadable.empty()) return nullptr;
        conversionSaid = !notice.Errors.empty();
    }
    try {
        auto session = MakeSession(messages, std::move(options));
        if (WasRead(session->Definitions)) return session;
    } catch (const ConversionError& error) {
        if (!conversionSaid) SayConversionError(error);
    } catch (const RecordingNotCreated& error) {
        std::fprintf(stderr, "Error: %s.\n", MessagePart(error.what()).c_str());
    }
    return nullptr;
}

std::unique_ptr<EcuSession> ConnectSession(CliMessages& messages, const SessionChoice& choice,
                                           DefinitionNeed need) {
    auto session = StartSession(messages, choice, need);
    if (session && ConnectLine(session->Line, messages, choice.Port)) return session;
    return nullptr;
}

void CliMessages::Say(const std::string& text) {
    std::fprintf(stderr, "Error: %s\n", Printable(text).c_str());
}

bool ConnectLine(EcuLine& line, CliMessages& messages, const std::string& portName) {
    // A search takes a moment per port; on a terminal the user sees it go.
    const bool sayEach = portName.empty() && ErrorsAreTerminal();
    if (sayEach) std::fprintf(stderr, "Looking for the ECU on every port:\n");
    messages.Hold();
    const PortDetection detection =
        line.Connect(portName, sayEach ? EcuLine::OnTried(SayTried) : EcuLine::OnTried());
    messages.Release(detection);
    if (!detection.Answered) {
        SayWhyNot(portName, detection, sayEach);
        return false;
    }
    const PortProbe& probe = detection.Tried[*detection.Answered];
    const std::string shown = PortShown(probe.Name, probe.Device);
    // The ECU answers all the same; what the port said may explain a fault later.
    if (const std::string trouble = PortTrouble(probe); !trouble.empty())
        std::fprintf(stderr, "Port %s: %s.\n", shown.c_str(), trouble.c_str());
    std::fprintf(stderr, "%s: ECU program version %s, application identifier %s.\n", shown.c_str(),
                 probe.ProgramVersion.c_str(), probe.ApplicationId.c_str());
    return true;
}

void SaveRecording(EcuLine& line) {
    if (!line.SaveRecording()) std::fprintf(stderr, "%s\n", RecordingStoppedText(line).c_str());
}

void AddPortOption(CLI::App& command, std::string& port, const std::string& help) {
    command.add_option("--port", port, help)
        ->check(CLI::Validator(
            [](std::string& name) {
                return name.empty() ? std::string("a port name or device is needed") : "";
            },
            "NAME"));
}

void AddNewFileOption(CLI::App& command, const std::string& name, std::string& path, bool& force,
                      const std::string& help) {
    CLI::Option* file = command.add_option(name, path, help)
                            ->type_name("FILE")
                            ->check(CLI::Validator(
                                [](std::string& given) {
                                    return given.empty() ? std::string("a file is needed") : "";
                                },
                                ""));
    command.add_flag("--force", force, "Replace the file of " + name + " when it exists")
        ->needs(file);
}
