// vmxdiag-cli's command line as users of such tools expect it: usage, help,
// unknown commands and usage errors, each with its exit status.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/CliRun.h"

#ifdef VMXDIAG_CLI_PATH

using ::testing::HasSubstr;
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

    const CommandRun unknown = Cli("lvie --count 3");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_THAT(unknown.output, StartsWith("Unknown command 'lvie'"));
    EXPECT_EQ(Cli("live --set 3").status, 2);
    EXPECT_EQ(Cli("live --bogus").status, 2);
    EXPECT_EQ(Cli("help nope").status, 2);
    const CommandRun negative = Cli("live --count -3");
    EXPECT_EQ(negative.status, 2);
    EXPECT_THAT(negative.output, HasSubstr("a negative number of reads is refused"));
}

#endif
