// vmxdiag-cli: the diagnostic session without a window. It reads
// database.ini and the port namespace of the current directory, like the window.

#include <cstdio>
#include <exception>

#include <CLI/CLI.hpp>

#include "cli/Command.h"
#include "cli/Console.h"
#include "cli/Usage.h"
#include "platform/FileSizeSignal.h"
#include "platform/StandardStreams.h"

int main(int argc, char** argv) {
    KeepStandardStreamsOpen();
    LetOversizedWritesFail();
    // UTF-8 text; a reader that goes away (`| head`) ends the run through a
    // failed write and the normal unwinding, which closes the port, instead of
    // killing the process with the port still held.
    const ConsoleSession console;

    CLI::App app{"vmxdiag-cli: talks to the diesel-engine ECU over the diagnostic line",
                 "vmxdiag-cli"};
    DescribeUsage(app);
    app.set_version_flag("--version", "vmxdiag-cli " VMX_VERSION);
    int status = 0;
    // One line per command, in the order --help lists them.
    AddPortsCommand(app, status);
    AddProbeCommand(app, status);
    AddInfoCommand(app, status);
    AddLiveCommand(app, status);
    AddErrorsCommand(app, status);
    AddClearErrorsCommand(app, status);
    AddReportCommand(app, status);
    AddDefinitionsCommand(app, status);
    AddEvalCommand(app, status);
    AddCheckCommand(app, status);
    AddReplayCommand(app, status);
    AddHelpCommand(app, status);
    DescribeExitCodes(app);
    try {
        if (const auto ended = RunCommandLine(app, argc, argv)) status = *ended;
    } catch (const std::exception& error) {
        // What no command foresaw (no memory, a folder gone): said, and the
        // port closed on the way out.
        std::fprintf(stderr, "Error: %s\n", error.what());
        status = 1;
    }
    // Output that never reached its reader makes a failed run, the help's too.
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && status == 0) status = 1;
    return status;
}
