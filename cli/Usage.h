#pragma once
// The command line of vmxdiag-cli as users of command-line tools expect it:
// the usage and exit 2 without a command, `help` and `--help` with exit 0, an
// unknown command or option named, every usage error exit 2, defaults and exit
// codes in the help.

#include <CLI/CLI.hpp>
#include <optional>

// Sets the help up before the commands are added: their options show their
// defaults.
void DescribeUsage(CLI::App& app);

// help [COMMAND]: the help of the tool, or of one command. Add it last.
void AddHelpCommand(CLI::App& app, int& status);

// Once every command is added: the tool's help ends with the table of exit
// codes, each command's help with the codes that command gives.
void DescribeExitCodes(CLI::App& app);

// Parses the command line and runs the command it names. Nothing when a
// command ran (its exit status is then the one it left); otherwise the exit
// status of a run that ended with the help (0) or a usage error (2), which
// has been printed.
std::optional<int> RunCommandLine(CLI::App& app, int argc, char** argv);
