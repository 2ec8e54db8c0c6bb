// vmxdiag-cli errors and clear-errors: the ECU's error memory, and its
// clearing, confirmed by a read-back.

#include <cstdio>
#include <memory>
#include <string>

#include "cli/CliDefinitions.h"
#include "cli/Command.h"
#include "cli/Console.h"
#include "cli/LineSetup.h"
#include "cli/ReadingOutput.h"
#include "cli/StopSignals.h"
#include "line/ErrorClearing.h"
#include "line/ErrorReading.h"

namespace {

struct ErrorOptions {
    std::string Port;
    std::string Language;
    RecordOption Record;
    bool Yes = false;
};

int ListErrors(const ErrorOptions& options) {
    const auto definitions = LoadSessionDefinitions(options.Language);
    if (!definitions) return 1;
    CliMessages sink;
    EcuLine line(sink);
    if (!ConnectLine(line, sink, options.Port, options.Record)) return 1;

    const auto lines = ReadErrorList(line, *definitions);
    SaveRecording(line);
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
    const auto definitions = LoadSessionDefinitions(options.Language);
    if (!definitions) return 1;
    CliMessages sink;
    EcuLine line(sink);
    if (!ConnectLine(line, sink, options.Port, {})) return 1;
    const ErrorClearing clearing = ClearAndReadBack(line, *definitions);
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

}  // namespace

void AddErrorsCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("errors", "List the errors stored in the ECU");
    auto options = std::make_shared<ErrorOptions>();
    AddPortOption(*command, options->Port, "Port name or device (default: find the ECU)");
    AddLanguageOption(*command, options->Language);
    AddRecordOption(*command, options->Record);
    command->callback([options, &status] {
        StopSignals stop;
        status = stop.Outcome(ListErrors(*options));
    });
}

void AddClearErrorsCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand(
        "clear-errors", "Clear the ECU's error memory and read it back (asks first on a terminal)");
    auto options = std::make_shared<ErrorOptions>();
    AddPortOption(*command, options->Port, "Port name or device (default: find the ECU)");
    AddLanguageOption(*command, options->Language);
    command->add_flag("--yes", options->Yes, "Clear without asking");
    command->callback([options, &status] {
        // Asked before the port is held, while Ctrl+C still ends the program at once.
        if (!options->Yes && InputIsTerminal() && !Confirmed()) {
            std::fprintf(stderr, "Nothing was cleared.\n");
            status = 1;
            return;
        }
        StopSignals stop;
        status = stop.Outcome(ClearErrorMemory(*options));
    });
}
