// The window program's command line, read the same for both toolkits: what
// each option sets, what is refused, and the help and the version, which are
// answered before a toolkit (and its display) is started.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/WindowOptions.h"

namespace {

struct Line {
    std::vector<std::string> Arguments;
    WindowAsk Ask;
    std::string RecordPath;
    bool Force;
    std::string Problem;
};

}  // namespace

TEST(WindowOptions, EachCommandLineAsksForWhatItSays) {
    const Line lines[] = {
        {{}, WindowAsk::Window, "", false, ""},
        {{"--record", "drive.rec"}, WindowAsk::Window, "drive.rec", false, ""},
        {{"--record=drive.rec", "--force"}, WindowAsk::Window, "drive.rec", true, ""},
        // The value of --record is a file, whatever it looks like.
        {{"--record", "--help"}, WindowAsk::Window, "--help", false, ""},
        {{"--record", "-v", "--force"}, WindowAsk::Window, "-v", true, ""},
        {{"--force"}, WindowAsk::Wrong, "", false, "--force goes with --record"},
        {{"--force", "--record", "a"}, WindowAsk::Window, "a", true, ""},
        {{"--record"}, WindowAsk::Wrong, "", false, "--record needs a file"},
        {{"--record="}, WindowAsk::Wrong, "", false, "--record needs a file"},
        {{"--frob"}, WindowAsk::Wrong, "", false, "unknown option --frob"},
        {{"drive.rec"}, WindowAsk::Wrong, "", false, "unknown argument drive.rec"},
        // Asked before anything else is looked at; the version first.
        {{"--help"}, WindowAsk::Help, "", false, ""},
        {{"-?", "--frob"}, WindowAsk::Help, "", false, ""},
        {{"--record", "a", "-h"}, WindowAsk::Help, "", false, ""},
        {{"-h", "--version"}, WindowAsk::Version, "", false, ""},
        {{"-v"}, WindowAsk::Version, "", false, ""},
        // Nothing after "--" is an option.
        {{"--", "--help"}, WindowAsk::Window, "", false, ""},
        {{"--user-folder", "--record", "a"}, WindowAsk::Window, "a", false, ""},
    };
    for (const Line& line : lines) {
        std::string shown;
        for (const std::string& argument : line.Arguments) shown += " " + argument;
        SCOPED_TRACE(shown);
        const WindowCommandLine read = ReadWindowCommandLine(line.Arguments);
        EXPECT_EQ(read.Ask, line.Ask);
        EXPECT_EQ(read.Arguments.Problem, line.Problem);
        if (line.Ask != WindowAsk::Window) continue;
        EXPECT_EQ(read.Arguments.Options.RecordPath, line.RecordPath);
        EXPECT_EQ(read.Arguments.Options.ForceRecording, line.Force);
        EXPECT_EQ(read.Arguments.UserFolder,
                  !line.Arguments.empty() && line.Arguments.front() == "--user-folder");
    }
}

// A toolkit's own parser hands over the options it found; they are checked
// as one, in the order of the table.
TEST(WindowOptions, OptionsFromAToolkitsParserAreCheckedTheSameWay) {
    EXPECT_EQ(ApplyWindowOptions({{"force", ""}}).Problem, "--force goes with --record");
    EXPECT_EQ(ApplyWindowOptions({{"record", ""}, {"force", ""}}).Problem, "--record needs a file");
    const WindowArguments given = ApplyWindowOptions({{"record", "a.rec"}, {"force", ""}});
    EXPECT_EQ(given.Problem, "");
    EXPECT_EQ(given.Options.RecordPath, "a.rec");
    EXPECT_TRUE(given.Options.ForceRecording);
    EXPECT_EQ(ApplyWindowOptions({{"open-log", "logs/a.csv"}}).OpenLog, "logs/a.csv");
    EXPECT_EQ(ApplyWindowOptions({{"open-log", ""}}).Problem, "--open-log needs a file");
    EXPECT_EQ(ApplyWindowOptions({{"open-log", "a.csv"}, {"record", "r.txt"}}).Problem,
              "--record does not go with --open-log, which opens no port");
}

TEST(WindowOptions, TheHelpNamesEveryOption) {
    const std::string usage = WindowUsage();
    EXPECT_EQ(
        usage.rfind(
            "Usage: vmxdiag [--record FILE] [--force] [--user-folder] [--open-log FILE] | --help | "
            "--version\n",
            0),
        0u)
        << usage;
    for (const WindowOption& option : WindowOptions()) {
        EXPECT_NE(usage.find(std::string("--") + option.Name), std::string::npos) << option.Name;
        EXPECT_NE(usage.find(option.Help), std::string::npos) << option.Name;
    }
}
