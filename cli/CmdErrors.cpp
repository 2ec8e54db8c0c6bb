// vmxdiag-cli errors and clear-errors: the ECU's error memory, and its
// clearing, confirmed by a read-back.

#include <cstdio>
#include <memory>
#include <string>

#include "cli/CliSession.h"
#include "cli/Command.h"
#include "cli/Console.h"
#include "cli/ReadingOutput.h"
#include "cli/StopSignals.h"
#include "session/ErrorClearing.h"
#include "session/ErrorReading.h"

namespace {

struct ErrorOptions {
    SessionChoice Session;
    bool Yes = false;
};

int ListErrors(const ErrorOptions& options) {
    CliMessages sink;
    const auto session = ConnectSession(sink, options.Session, DefinitionNeed::Texts);
    if (!session) return 1;

    const auto lines = ReadErrorList(session->Line, session->Definitions);
    SaveRecording(session->Line);
    if (!lines) {
        std::fprintf(stderr, "The error memory could not be read.\n");
        return 1;
    }
    PrintErrorList(*lines);
    return 0;
}

// The user's yes on a terminal: clearing loses what the ECU stored.
bool Confirmed() {
    std::fprintf(stderr, "Clear the error memory of the ECU? Its stored errors are lost. [y/N] ");
    std::fflush(stderr);
    char answer[16] = {};
    if (!std::fgets(answer, sizeof answer, stdin)) return false;
    return answer[0] == 'y' || answer[0] == 'Y';
}

int ClearErrorMemory(const ErrorOptions& options) {
    CliMessages sink;
    const auto session = ConnectSession(sink, options.Session, DefinitionNeed::Texts);
    if (!session) return 1;
    const ErrorClearing clearing = ClearAndReadBack(session->Line, session->Definitions);
    if (!clearing.Sent) {
        std::fprintf(stderr,
                     "The clear request did not go out (its echo did not come back as sent).\n");
        return 1;
    }
    if (!clearing.Remaining) {
        std::fprintf(stderr,
                     "The clear request went out, but the error memory could not be read back: "
                     "whether it is clear is not known.\n");
        return 1;
    }
    PrintErrorList(*clearing.Remaining);
    if (!clearing.Remaining->empty()) {
        std::fprintf(stderr, "The clear did not take: the ECU still lists %zu error%s.\n",
                     clearing.Remaining->size(), clearing.Remaining->size() == 1 ? "" : "s");
        return 1;
    }
    std::fprintf(stderr, "The error memory is clear.\n");
    return 0;
}

// Asked before the port is held, while Ctrl+C still ends the program at once.
int ClearErrorMemoryWhenConfirmed(const ErrorOptions& options) {
    if (!options.Yes && InputIsTerminal() && !Confirmed()) {
        std::fprintf(stderr, "Nothing was cleared.\n");
        return 1;
    }
    StopSignals stop;
    return stop.Outcome(ClearErrorMemory(options));
}

void DeclareErrors(CLI::App& command, ErrorOptions& options) {
    AddRecordingSessionOptions(command, options.Session);
}

void DeclareClearErrors(CLI::App& command, ErrorOptions& options) {
    AddSessionOptions(command, options.Session);
    command.add_flag("--yes", options.Yes, "Clear without asking");
}

}  // namespace

void AddErrorsCommand(CLI::App& app, int& status) {
    AddCommand(app, status, "errors", "List the errors stored in the ECU", ListErrors,
               DeclareErrors, Stops::BetweenExchanges);
}

void AddClearErrorsCommand(CLI::App& app, int& status) {
    AddCommand(app, status, "clear-errors",
               "Clear the ECU's error memory and read it back (asks first on a terminal)",
               ClearErrorMemoryWhenConfirmed, DeclareClearErrors);
}
