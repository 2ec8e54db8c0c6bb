// vmxdiag-cli eval, run as a program.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/CliRun.h"

#ifdef VMXDIAG_CLI_PATH

namespace {

// Runs the tool with arguments already quoted for the shell; standard error is dropped.
CommandRun Eval(const std::string& arguments) {
    return RunCli(std::filesystem::current_path(), arguments, false);
}

}  // namespace

// --- Command line: eval ---

TEST(EvalCommand, OneLinePerRawValueWithAssignmentsCarriedOver) {
    const CommandRun run = Eval("eval 'A=A+X;A/4' 1 2 -3");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "X=1 -> 0.25\nX=2 -> 0.75\nX=-3 -> 0\n");
    EXPECT_EQ(Eval("eval 'X*0.1'").output, "X=0 -> 0\n");
    EXPECT_EQ(Eval("eval pi").output, "X=0 -> 3.1415926535\n");
}

// Fixed fault: --explain named the evaluator's insides (calc::divzero), and a
// formula that failed exited with 0.
TEST(EvalCommand, ExplainSaysTheErrorInWordsAndAFailureFails) {
    EXPECT_EQ(Eval("eval --explain 'ctg X' 0").output,
              "X=0 -> 0 (error: ctg of an angle whose sine is 0; the window shows 0)\n");
    EXPECT_EQ(Eval("eval --explain 'X/0' 7").output,
              "X=7 -> 0 (error: division by zero; the window shows 0)\n");
    EXPECT_EQ(Eval("eval --explain '' 7").output,
              "X=7 -> 0 (error: the formula is empty; the window shows 0)\n");
    const CommandRun failed = Eval("eval 'X/0' 7");
    EXPECT_EQ(failed.output, "X=7 -> 0\n");
    EXPECT_EQ(failed.status, 1);
    // One raw value it fails on is enough.
    EXPECT_EQ(Eval("eval --explain 'ln X' 1 0").status, 1);
    EXPECT_EQ(Eval("eval --explain 'ln X' 1 2").status, 0);
}

TEST(EvalCommand, NonAsciiTextEndsTheFormula) {
    EXPECT_EQ(Eval("eval 'X*2\xC3\xA9+1' 3").output, "X=3 -> 6\n");
}

TEST(EvalCommand, UsageErrorsFail) {
    EXPECT_NE(Eval("eval").status, 0);
    EXPECT_NE(Eval("eval X abc").status, 0);
}

#endif
