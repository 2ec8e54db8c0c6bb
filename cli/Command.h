#pragma once
// How the commands of vmxdiag-cli plug into the program: each command file
// offers one Add...Command that registers its subcommand, and its callback
// leaves the process's exit status in `status`.

#include <CLI/CLI.hpp>

// definitions [--lang ru|en]: the parameter and error definitions of database.ini.
void AddDefinitionsCommand(CLI::App& app, int& status);
// eval FORMULA [X ...]: the formula's value for each raw value.
void AddEvalCommand(CLI::App& app, int& status);
