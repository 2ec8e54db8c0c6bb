#pragma once
// How the commands of vmxdiag-cli plug into the program: each command file
// offers one Add...Command that registers its subcommand, and its callback
// leaves the process's exit status in `status`.

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "cli/StopSignals.h"

// ports: the port names and the devices they stand for.
void AddPortsCommand(CLI::App& app, int& status);
// probe [--port NAME]: which port has an ECU.
void AddProbeCommand(CLI::App& app, int& status);
// info [--port NAME] [--lang ru|en]: the ECU's identification and hour counters.
void AddInfoCommand(CLI::App& app, int& status);
// live [--set 1|2] [--count N] [--interval MS] [--format table|csv]: live values.
void AddLiveCommand(CLI::App& app, int& status);
// errors: the errors stored in the ECU.
void AddErrorsCommand(CLI::App& app, int& status);
// clear-errors: clears the ECU's error memory.
void AddClearErrorsCommand(CLI::App& app, int& status);
// definitions [--lang ru|en]: the parameter and error definitions of database.ini.
void AddDefinitionsCommand(CLI::App& app, int& status);
// eval FORMULA [X ...]: the formula's value for each raw value.
void AddEvalCommand(CLI::App& app, int& status);
// check [FILE] [--werror]: what in database.ini the program would misread.
void AddCheckCommand(CLI::App& app, int& status);
// replay FILE [--format table|csv]: a recording made with --record, without a port.
void AddReplayCommand(CLI::App& app, int& status);
// report [--port NAME] [--set 1|2] [--format html|json] [--output FILE]: a report of the ECU.
void AddReportCommand(CLI::App& app, int& status);

// Whether a command holds the port while it runs: then a stop (Ctrl+C, ...)
// waits for the exchange under way and becomes its exit status (StopSignals).
enum class Stops { AtOnce, BetweenExchanges };

// Registers the subcommand `name`: declare(command, options) declares its
// options, which fill `options`, kept for its run; when it is run,
// run(options) gives the exit status.
template <typename Options>
void AddCommand(CLI::App& app, int& status, const std::string& name, const std::string& about,
                int (*run)(const Options&), void (*declare)(CLI::App&, Options&),
                Stops stops = Stops::AtOnce) {
    auto options = std::make_shared<Options>();
    CLI::App* command = app.add_subcommand(name, about);
    declare(*command, *options);
    command->callback([options, &status, run, stops] {
        if (stops == Stops::AtOnce) {
            status = run(*options);
            return;
        }
        StopSignals stop;
        status = stop.Outcome(run(*options));
    });
}
