// vmxdiag-cli check: what in a hand-written database.ini the program would read
// otherwise than meant, one line each as FILE:LINE: error|warning: message, the
// form editors jump from, and a closing count. The file is only read.

#include <cstdio>
#include <memory>
#include <string>

#include "cli/Command.h"
#include "cli/TextTable.h"
#include "database/DefinitionCheck.h"
#include "platform/RegularFile.h"

namespace {

// Exit codes: 0 clean, 1 errors (warnings too with --werror), 2 not read.
constexpr int Clean = 0;
constexpr int Faulty = 1;
constexpr int Unreadable = 2;

struct CheckOptions {
    std::string File = "database.ini";
    bool WarningsAreErrors = false;
};

void DeclareCheck(CLI::App& command, CheckOptions& options) {
    command.add_option("FILE", options.File, "the file to check")->capture_default_str();
    command.add_flag("--werror", options.WarningsAreErrors, "count warnings as errors");
    command.footer("Exit status: 0 clean, 1 errors (or warnings with --werror), 2 file not read.");
}

int RunCheck(const CheckOptions& options) {
    std::string bytes;
    const FileRead read = ReadRegularFile(options.File, bytes);
    if (read.Outcome != FileReadOutcome::Read) {
        std::fprintf(stderr, "%s: error: cannot be read: %s\n", options.File.c_str(),
                     read.Reason.c_str());
        return Unreadable;
    }
    std::size_t errors = 0, warnings = 0;
    for (const DefinitionFinding& finding : CheckDefinitions(ProfileText(std::move(bytes)))) {
        const bool error = finding.Level == DefinitionFinding::Severity::Error;
        ++(error ? errors : warnings);
        std::printf("%s:%zu: %s: %s\n", options.File.c_str(), finding.Line,
                    error ? "error" : "warning", Printable(finding.Message).c_str());
    }
    std::printf("%zu error%s, %zu warning%s\n", errors, errors == 1 ? "" : "s", warnings,
                warnings == 1 ? "" : "s");
    return errors > 0 || (options.WarningsAreErrors && warnings > 0) ? Faulty : Clean;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& status) {
    AddCommand(app, status, "check",
               "Check a hand-written database.ini for what the program would misread", RunCheck,
               DeclareCheck);
}
