#pragma once
// Runs the built vmxdiag-cli in a folder, as a user would from a shell.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

// The lines of a program's output, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct CommandRun {
    int status = -1;     // -1 when a signal ended it, or it ran past its limit
    std::string output;  // standard output, and standard error unless left out
};

// Runs a shell command line, its output (and errors) collected, for at most
// `limit`. The command may be a pipeline or carry redirections of its own.
inline CommandRun RunShell(const std::string& command,
                           std::chrono::milliseconds limit = std::chrono::seconds(60)) {
    CommandRun run;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return run;
    ChildProcess child(command, out[1]);
    ::close(out[1]);
    const auto end = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd entry{out[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) break;
        const ssize_t got = ::read(out[0], buffer, sizeof buffer);
        if (got <= 0) break;
        run.output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(out[0]);
    run.status = child.Finish(std::max(std::chrono::milliseconds(0),
                                       std::chrono::duration_cast<std::chrono::milliseconds>(
                                           end - std::chrono::steady_clock::now())));
    return run;
}

#ifdef VMXDIAG_CLI_PATH
// Runs the tool with `arguments` in `folder`; `withErrors` false leaves
// standard error out of the output.
inline CommandRun RunCli(const std::filesystem::path& folder, const std::string& arguments,
                         bool withErrors = true) {
    return RunShell("cd '" + folder.string() + "' && '" VMXDIAG_CLI_PATH "' " + arguments +
                    (withErrors ? "" : " 2>/dev/null"));
}
#endif
