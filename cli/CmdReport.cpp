// vmxdiag-cli report: the ECU's identification, counters, stored errors and
// the live values of one set, read as the window's pages read them, as one
// HTML page to print or hand over, or as JSON for a workshop system.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/CliDefinitions.h"
#include "cli/CliSession.h"
#include "cli/Command.h"
#include "cli/StopSignals.h"
#include "report/ReportFile.h"
#include "report/ReportHtml.h"
#include "report/ReportJson.h"
#include "report/ReportReading.h"
#include "session/SessionDefinitions.h"
#include "text/PathText.h"
#include "text/Printable.h"

namespace {

struct ReportOptions {
    SessionChoice Session;  // no recording
    int Set = 1;
    std::string Format = "html";
    std::string Output;  // empty: standard output
    bool Force = false;
};

// Which parts the ECU left out, on standard error.
void SayWhatIsMissing(const EcuReport& report) {
    if (!report.IdentificationAnswered())
        std::fprintf(stderr, "The ECU did not answer every identification request.\n");
    if (!report.ErrorsAnswered()) std::fprintf(stderr, "The error memory could not be read.\n");
    if (!report.Selection.Complete())
        std::fprintf(
            stderr,
            "The ECU did not take the parameter of slot %d (%s); that slot and the ones "
            "after it have no value.\n",
            report.Selection.Accepted,
            Printable(report.Values[static_cast<std::size_t>(report.Selection.Accepted)].Code)
                .c_str());
    else if (!report.BlockAnswered)
        std::fprintf(stderr, "The live block could not be read.\n");
    std::fprintf(stderr, "The report says which parts are missing.\n");
}

int WriteReport(const ReportOptions& options, StopSignals& stop) {
    CliMessages sink;
    const auto session = StartSession(sink, options.Session, DefinitionNeed::Texts);
    if (!session) return 1;
    // The file first: a name that will not do stops the run before anything is sent.
    ReportFile file;
    if (!options.Output.empty() &&
        !file.Create(options.Output, options.Force,
                     DefinitionFileOf(std::filesystem::current_path()))) {
        std::fprintf(stderr, "Error: the report %s cannot be created: %s.\n",
                     PrintablePath(options.Output).c_str(), file.Failure().c_str());
        return 1;
    }
    if (!ConnectLine(session->Line, sink, options.Session.Port)) return 1;

    const EcuReport report =
        ReadEcuReport(session->Line, session->Definitions, session->Sets, options.Set - 1,
                      {"vmxdiag-cli", VMX_VERSION, std::chrono::system_clock::now(), "."});
    // A report cut short by a stop is not written: the file made for it goes.
    if (stop.Requested()) return 1;
    const std::string text = options.Format == "json" ? ReportJson(report) : ReportHtml(report);
    if (options.Output.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
    } else if (!file.Write(text)) {
        std::fprintf(stderr, "Error: the report %s could not be written: %s.\n",
                     PrintablePath(options.Output).c_str(), file.Failure().c_str());
        return 1;
    }
    if (report.Complete()) return 0;
    SayWhatIsMissing(report);
    return 1;
}

// The stops are taken for the whole run: a report cut short is not written.
int WriteReportUnlessStopped(const ReportOptions& options) {
    StopSignals stop;
    return stop.Outcome(WriteReport(options, stop));
}

void DeclareReport(CLI::App& command, ReportOptions& options) {
    AddPortOption(command, options.Session.Port, "Port name or device (default: find the ECU)");
    command.add_option("--set", options.Set, "Parameter set, 1 or 2")->check(CLI::Range(1, 2));
    // The other commands call it --lang; both are taken.
    AddLanguageOption(command, options.Session.Language, "--lang,--language");
    command.add_option("--format", options.Format, "html (a page to print) or json (for programs)")
        ->check(CLI::IsMember({"html", "json"}));
    AddNewFileOption(command, "--output", options.Output, options.Force,
                     "Write the report into FILE, a new regular file (default: standard output)");
}

}  // namespace

void AddReportCommand(CLI::App& app, int& status) {
    AddCommand(app, status, "report",
               "Write a report of the ECU: identification, counters, errors and a set's values",
               WriteReportUnlessStopped, DeclareReport);
}
