// vmxdiag-cli errors and clear-errors: the ECU's error memory.

#include <cstdio>
#include <memory>
#include <string>

#include "cli/CliDefinitions.h"
#include "cli/Command.h"
#include "cli/LineSetup.h"
#include "cli/ReadingOutput.h"
#include "cli/StopSignals.h"
#include "line/ErrorReading.h"

namespace {

struct ErrorOptions {
    std::string Port;
    std::string Language;
    RecordOption Record;
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

int ClearErrorMemory(const ErrorOptions& options) {
    CliMessages sink;
    EcuLine line(sink);
    if (!ConnectLine(line, sink, options.Port, {})) return 1;
    if (!line.ClearErrorMemory()) {
        std::fprintf(stderr,
                     "The clear request did not go out (its echo did not come back as sent).\n");
        return 1;
    }
    std::printf("Clear request sent; the error memory is read anew with 'errors'.\n");
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
    auto* command = app.add_subcommand("clear-errors", "Clear the ECU's error memory");
    auto options = std::make_shared<ErrorOptions>();
    AddPortOption(*command, options->Port, "Port name or device (default: find the ECU)");
    command->callback([options, &status] {
        StopSignals stop;
        status = stop.Outcome(ClearErrorMemory(*options));
    });
}
