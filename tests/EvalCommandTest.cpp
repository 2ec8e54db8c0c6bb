// vmxdiag-cli eval, run as a program.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#ifdef VMXDIAG_CLI_PATH

namespace {

struct CliRun {
    std::string Output;
    int Status = -1;
};

// Runs the tool with arguments already quoted for the shell; standard error
// is dropped.
CliRun RunCli(const std::string& arguments) {
    const std::string command = std::string(VMXDIAG_CLI_PATH) + " " + arguments + " 2>/dev/null";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.Output += buffer;
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

// --- Command line: eval ---

TEST(EvalCommand, OneLinePerRawValueWithAssignmentsCarriedOver) {
    const CliRun run = RunCli("eval 'A=A+X;A/4' 1 2 -3");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Output, "X=1 -> 0.25\nX=2 -> 0.75\nX=-3 -> 0\n");
    EXPECT_EQ(RunCli("eval 'X*0.1'").Output, "X=0 -> 0\n");
    EXPECT_EQ(RunCli("eval pi").Output, "X=0 -> 3.1415926535\n");
}

TEST(EvalCommand, ExplainNamesTheErrorWithItsTextInUtf8) {
    EXPECT_EQ(RunCli("eval --explain 'ctg X' 0").Output,
              "X=0 -> 0 (calc::MathError: can't calculate \xD1\x81tg)\n");
    EXPECT_EQ(RunCli("eval --explain 'X/0' 7").Output, "X=7 -> 0 (calc::divzero)\n");
    EXPECT_EQ(RunCli("eval --explain '' 7").Output,
              "X=7 -> 0 (calc::SyntaxError: No Expression)\n");
    EXPECT_EQ(RunCli("eval 'X/0' 7").Output, "X=7 -> 0\n");
}

TEST(EvalCommand, NonAsciiTextEndsTheFormula) {
    EXPECT_EQ(RunCli("eval 'X*2\xC3\xA9+1' 3").Output, "X=3 -> 6\n");
}

TEST(EvalCommand, UsageErrorsFail) {
    EXPECT_NE(RunCli("eval").Status, 0);
    EXPECT_NE(RunCli("eval X abc").Status, 0);
}

#endif
