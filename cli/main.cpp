// vmxdiag-cli: the diagnostic session without a window. It reads
// database.ini and the port namespace of the current directory, like the window.

#include <CLI/CLI.hpp>

#include "cli/Command.h"

int main(int argc, char** argv) {
    CLI::App app{"vmxdiag-cli: talks to the diesel-engine ECU over the diagnostic line"};
    app.require_subcommand(1);
    int status = 0;
    // One line per command, in the order --help lists them.
    AddPortsCommand(app, status);
    AddProbeCommand(app, status);
    AddInfoCommand(app, status);
    AddLiveCommand(app, status);
    AddErrorsCommand(app, status);
    AddClearErrorsCommand(app, status);
    AddDefinitionsCommand(app, status);
    AddEvalCommand(app, status);
    AddCheckCommand(app, status);
    CLI11_PARSE(app, argc, argv);
    return status;
}
