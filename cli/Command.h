#pragma once
// How the commands of vmxdiag-cli plug into the program: each command file
// offers one Add...Command that registers its subcommand, and its callback
// leaves the process's exit status in `status`.

#include <CLI/CLI.hpp>

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
