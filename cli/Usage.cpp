#include "cli/Usage.h"

#include <cstdio>
#include <iostream>
#include <string>

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
    "  143  stopped by SIGTERM";

bool IsCommand(CLI::App& app, const std::string& name) {
    return !app.get_subcommands([&name](CLI::App* command) { return command->check_name(name); })
                .empty();
}

std::string ToolHelp(const CLI::App& app) {
    return app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
}

}  // namespace

void DescribeUsage(CLI::App& app) {
    app.require_subcommand(1);
    app.option_defaults()->always_capture_default();
    app.footer(ExitCodes);
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
