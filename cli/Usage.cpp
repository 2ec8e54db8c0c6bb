#include "cli/Usage.h"

#include <array>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr int UsageError = 2;

constexpr const char* ExitCodes =
    "Exit status:\n"
    "  0    done\n"
    "  1    not done: no ECU answered, a request or read failed, errors remain after\n"
    "       clear-errors, a formula failed, check found errors, a recording could not\n"
    "       be made or read\n"
    "  2    usage error, check's FILE not read, no serial port to probe\n"
    "  129  stopped by a closed terminal (SIGHUP; a closed console window on Windows)\n"
    "  130  stopped by Ctrl+C (SIGINT)\n"
    "  131  stopped by Ctrl+\\ (SIGQUIT; Ctrl+Break on Windows)\n"
    "  143  stopped by SIGTERM\n"
    "live without --count ends at a stop as a run does: with 0 when its last read\n"
    "succeeded, 1 when it failed.";

// The stops of a command that holds the port.
constexpr const char* StopCodes =
    "  129  stopped by a closed terminal (SIGHUP; a closed console window on Windows)\n"
    "  130  stopped by Ctrl+C (SIGINT)\n"
    "  131  stopped by Ctrl+\\ (SIGQUIT; Ctrl+Break on Windows)\n"
    "  143  stopped by SIGTERM";

struct CommandCodes {
    std::string_view Command;
    const char* Codes;  // the lines of the table, without its title
    bool Stops;         // the command holds the port and ends on a stop
};

constexpr std::array<CommandCodes, 11> CommandExitCodes{{
    {"ports",
     "  0    the ports were listed\n"
     "  1    no serial port found\n"
     "  2    usage error",
     false},
    {"probe",
     "  0    an ECU answered\n"
     "  1    no ECU answered\n"
     "  2    usage error, no serial port to probe",
     true},
    {"info",
     "  0    every field was read\n"
     "  1    not done: database.ini not read, no ECU answered, a request not answered,\n"
     "       the recording not made\n"
     "  2    usage error",
     true},
    {"live",
     "  0    the last read succeeded, also when a run without --count was stopped\n"
     "  1    not done: the last read failed, database.ini missing or not read, no ECU\n"
     "       answered, the output was closed, the recording not made\n"
     "  2    usage error\n"
     "A run with --count stopped before its last read:",
     true},
    {"errors",
     "  0    the stored errors were read\n"
     "  1    not done: database.ini not read, no ECU answered, the error memory not\n"
     "       read, the recording not made\n"
     "  2    usage error",
     true},
    {"clear-errors",
     "  0    the error memory is clear\n"
     "  1    not done: the clear was declined, database.ini not read, no ECU answered,\n"
     "       the clear request did not go out, the memory not read back, errors remain\n"
     "  2    usage error",
     true},
    {"definitions",
     "  0    the definitions were shown\n"
     "  1    database.ini not read, or an Address stops the start\n"
     "  2    usage error",
     false},
    {"eval",
     "  0    the formula gave a value for every X\n"
     "  1    the formula failed for an X (the window shows 0)\n"
     "  2    usage error",
     false},
    {"check",
     "  0    no error (with --werror: no warning either)\n"
     "  1    errors found (with --werror: warnings too)\n"
     "  2    usage error, FILE not read",
     false},
    {"replay",
     "  0    the recording was shown\n"
     "  1    FILE not read, not a recording, cut short or damaged; database.ini not read\n"
     "  2    usage error",
     false},
    {"help",
     "  0    the help was shown\n"
     "  2    an unknown command",
     false},
}};

bool IsCommand(CLI::App& app, const std::string& name) {
    return !app.get_subcommands([&name](CLI::App* command) { return command->check_name(name); })
                .empty();
}

std::string ToolHelp(const CLI::App& app) {
    return app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
}

// An option of the tool itself (--help, --version), "--name=value" too.
bool IsToolOption(const CLI::App& app, const std::string& argument) {
    const std::string name = argument.substr(0, argument.find('='));
    return app.get_option_no_throw(name) != nullptr;
}

}  // namespace

void DescribeUsage(CLI::App& app) {
    app.require_subcommand(1);
    app.option_defaults()->always_capture_default();
}

void DescribeExitCodes(CLI::App& app) {
    app.footer(ExitCodes);
    for (const CommandCodes& codes : CommandExitCodes) {
        CLI::App* command = app.get_subcommand(std::string(codes.Command));
        std::string footer = command->get_footer();
        if (!footer.empty()) footer += "\n\n";
        footer += "Exit status:\n" + std::string(codes.Codes);
        if (codes.Stops) footer += "\n" + std::string(StopCodes);
        command->footer(footer);
    }
}

void AddHelpCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("help", "Print this help, or the help of COMMAND");
    auto name = std::make_shared<std::string>();
    command->add_option("COMMAND", *name, "a command");
    command->callback([&app, &status, name] {
        if (name->empty()) {
            std::fputs(ToolHelp(app).c_str(), stdout);
            status = 0;
        } else if (IsCommand(app, *name) && *name != "help") {
            const CLI::App* named = app.get_subcommand(*name);
            std::fputs(
                named->get_formatter()
                    ->make_help(named, app.get_name() + " " + *name, CLI::AppFormatMode::Normal)
                    .c_str(),
                stdout);
            status = 0;
        } else {
            std::fprintf(stderr, "Unknown command '%s'.\n", name->c_str());
            status = UsageError;
        }
    });
}

std::optional<int> RunCommandLine(CLI::App& app, int argc, char** argv) {
    if (argc < 2) {
        std::fputs(ToolHelp(app).c_str(), stderr);
        return UsageError;
    }
    const std::string first = argv[1];
    if (!first.starts_with('-') && !IsCommand(app, first)) {
        std::fprintf(stderr, "Unknown command '%s'; '%s --help' lists the commands.\n",
                     first.c_str(), app.get_name().c_str());
        return UsageError;
    }
    // Before the command: only the tool's own options. Said as what it is,
    // rather than as a missing command.
    if (first.starts_with('-') && first != "--" && !IsToolOption(app, first)) {
        std::fprintf(stderr,
                     "Unknown option '%s'; the options of a command go after it, and '%s "
                     "--help' lists the commands.\n",
                     first.c_str(), app.get_name().c_str());
        return UsageError;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // The help, and what else ends a run well before a command (a version).
        if (error.get_exit_code() == 0) return app.exit(error, std::cout, std::cerr);
        app.exit(error, std::cout, std::cerr);
        return UsageError;
    }
    return std::nullopt;
}
