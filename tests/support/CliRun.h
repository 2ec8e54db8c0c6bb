#pragma once
// Runs the built vmxdiag-cli in a folder, as a user would from a shell.

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

struct CommandRun {
    int status = -1;
    std::string output;  // standard output, and standard error unless left out
};

#ifdef VMXDIAG_CLI_PATH
inline CommandRun RunCli(const std::filesystem::path& folder, const std::string& arguments,
                         bool withErrors = true) {
    const std::string command = "cd '" + folder.string() + "' && '" VMXDIAG_CLI_PATH "' " +
                                arguments + (withErrors ? " 2>&1" : " 2>/dev/null");
    CommandRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
#endif
