// vmxdiag-cli's command line as users of such tools expect it: usage, help,
// unknown commands and usage errors, each with its exit status.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/CliRun.h"

#ifdef VMXDIAG_CLI_PATH

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

CommandRun Cli(const std::string& arguments) {
    return RunCli(std::filesystem::current_path(), arguments);
}

}  // namespace

// Fixed fault: no arguments, an unknown command and every usage error exited
// with CLI11's own codes 104 to 109, which no help told.
TEST(CliUsage, HelpExitsZeroAndEveryUsageErrorTwo) {
    const CommandRun bare = Cli("");
    EXPECT_EQ(bare.status, 2);
    EXPECT_THAT(bare.output, HasSubstr("Usage: vmxdiag-cli [OPTIONS] SUBCOMMAND"));
    for (const char* help : {"help", "--help"}) {
        const CommandRun run = Cli(help);
        EXPECT_EQ(run.status, 0) << help;
        EXPECT_THAT(run.output, HasSubstr("\nExit status:\n  0    done\n")) << help;
        EXPECT_THAT(run.output, HasSubstr("  130  stopped by Ctrl+C")) << help;
    }
    const CommandRun live = Cli("help live");
    EXPECT_EQ(live.status, 0);
    EXPECT_THAT(live.output, StartsWith("Read the live values of a parameter set\n"
                                        "Usage: vmxdiag-cli live [OPTIONS]"));
    EXPECT_THAT(live.output, HasSubstr("=220"));  // the defaults are shown
    // A command's help gives its own exit codes, not the table of every command.
    EXPECT_THAT(live.output, HasSubstr("A run with --count stopped before its last read:\n"
                                       "  129  stopped by a closed terminal"));
    EXPECT_THAT(live.output, Not(HasSubstr("check found errors")));
    EXPECT_THAT(Cli("eval --help").output, HasSubstr("\nExit status:\n  0    the formula gave"));

    const CommandRun unknown = Cli("lvie --count 3");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_THAT(unknown.output, StartsWith("Unknown command 'lvie'"));
    EXPECT_EQ(Cli("live --set 3").status, 2);
    EXPECT_EQ(Cli("live --bogus").status, 2);
    EXPECT_EQ(Cli("help nope").status, 2);
    EXPECT_EQ(Cli("help help").status, 2);  // help is no command to explain
    // Fixed fault: an option before any command was "A subcommand is required".
    const CommandRun option = Cli("--bogus");
    EXPECT_EQ(option.status, 2);
    EXPECT_THAT(option.output, StartsWith("Unknown option '--bogus'"));
    EXPECT_EQ(Cli("--version").status, 0);
    const CommandRun negative = Cli("live --count -3");
    EXPECT_EQ(negative.status, 2);
    EXPECT_THAT(negative.output, HasSubstr("a negative number of reads is refused"));
}

// Output that never reached its reader fails the run: the help's and the
// version's as a command's.
TEST(CliUsage, OutputThatCannotBeWrittenFailsTheRun) {
    for (const char* arguments :
         {"--help", "help eval", "--version", "eval X 1 2", "eval --explain '2X' 1"}) {
        SCOPED_TRACE(arguments);
        EXPECT_EQ(Cli(std::string(arguments) + " >/dev/full").status, 1);
    }
}

#endif
