// vmxdiag-cli eval, run as a program.

#include <gmock/gmock.h>
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

// Fixed fault: --explain said nothing of a formula that check flags but that
// does not fail: one read only in part (a decimal comma), one X does not move.
TEST(EvalCommand, ExplainSaysWhatCheckWarnsOf) {
    EXPECT_EQ(Eval("eval --explain 'X*0,1' 10").output,
              "X=10 -> 0\nThe reading stops at ',' (character 4): only 'X*0' is used, the rest "
              "plays no part. A decimal comma? Numbers take a point: 'X*0.1'.\n");
    EXPECT_EQ(Eval("eval --explain '2X' 5").output,
              "X=5 -> 0\nThe formula gives 0 whatever the raw value: X is not read as meant (a "
              "statement ends early, as after '2X', 'X X', 'X)' or 'X*'). A product is written "
              "with '*': '2*X'.\n");
    // A formula that fails for the values given has said why; for others it
    // is said once.
    EXPECT_EQ(Eval("eval --explain 'asin(X-5)' 5").output,
              "X=5 -> 0\nThe formula fails for every raw value that check tries (asin of a "
              "number outside -1 to 1): the window always shows 0.\n");
    EXPECT_EQ(Eval("eval --explain 'X*2+1' -3").output, "X=-3 -> -5\n");
    // A reading that stops inside a UTF-8 letter names the letter whole.
    EXPECT_EQ(Eval("eval 'X*2\xC3\xA9+1' 3").output, "X=3 -> 6\n");
    EXPECT_THAT(Eval("eval --explain 'X*2\xC3\xA9+1' 3").output,
                ::testing::HasSubstr("stops at '\xC3\xA9' (character 4): only 'X*2' is used"));
}

TEST(EvalCommand, UsageErrorsFail) {
    EXPECT_NE(Eval("eval").status, 0);
    EXPECT_NE(Eval("eval X abc").status, 0);
}

#endif
