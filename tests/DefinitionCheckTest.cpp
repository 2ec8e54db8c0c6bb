// Checking a hand-written database.ini: every fault found once, on its line,
// with its severity; the sample file clean; and the exit status of the
// command-line check.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "database/DefinitionCheck.h"
#include "support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

using Severity = DefinitionFinding::Severity;

// One line of a seeded file and what the check must say about it, if anything.
struct SeedLine {
    std::string text;
    std::optional<Severity> level = std::nullopt;
    std::string says = "";
};

const std::vector<SeedLine>& SeededFile() {
    static const std::vector<SeedLine> lines = {
        {"; written by hand, cp1251, CRLF"},
        {"Language=RU", Severity::Error, "above every section header"},
        {""},
        {"[Configuration]"},
        {"Language=DE", Severity::Warning, "Language 'DE' is neither RU nor EN"},
        {"[0000]"},
        {"NameRu=\xCE\xE1\xEE\xF0\xEE\xF2\xFB"},  // cp1251
        {"NameEn=Engine speed"},
        {"Address=0100"},
        {"Fromula=X/4", Severity::Warning,
         "unknown key 'Fromula' is not read: did you mean 'Formula'?"},
        {"Address=0102", Severity::Error,
         "key 'Address' appears again in [0000] (first at line 9)"},
        {"just some words", Severity::Error, "has no '='"},
        {"=5", Severity::Error, "no key name"},
        {"[0001]"},
        {"NameRu=\xD2"},
        {"NameEn=Coolant"},
        {"Address=100", Severity::Warning, "same address as [0000] (line 9)"},
        {"Formula=lg X", Severity::Warning, "fails for every raw value (an unknown function name"},
        {"Digits=300", Severity::Warning, "Digits '300' gives 44 decimals, more than 18"},
        {"Signed=yes", Severity::Warning, "Signed 'yes' is not a number: 0 is used"},
        {"[0002]", Severity::Warning, "[0002] of set 1 has no Russian name"},
        {"NameEn=Fuel temperature"},
        {"Address=0x10", Severity::Error, "'0x0x10' is not a valid integer value"},
        {"Formula=X*1,5", Severity::Warning, "stops at ',' (character 4): only 'X*1' is used"},
        {"[0003]"},
        {"NameRu=\xD0\x98\xD0\xBC\xD1\x8F", Severity::Warning, "looks like UTF-8"},
        {"NameEn=Name"},
        {"Address=0106"},
        {"Formula=X" + std::string(300, '+') + "1", Severity::Warning, "only its first 255"},
        // Names in any case, blanks and an assignment read as the loader reads them.
        {"[ 000a ]"},
        {"nameru=\xC4\xE5\xF1\xFF\xF2\xFC"},
        {"NAMEEN = Ten "},
        {"address=1a"},
        {"formula = A=X*2;A+1"},
        {"CodeEn=\"X\" or \"Y\"", Severity::Warning, "only the outer quotes come off"},
        // Not a section of the loader: not its business.
        {"[Notes]"},
        {"anything goes here"},
        {"Fromula=1"},
        {"[0001]", Severity::Error, "section [0001] appears again (first at line 14)"},
        {"Address=0200"},
        {"[0100]"},
        {"Code=P0115"},
        {"[0101]"},
        {"Code=P0115", Severity::Warning, "'P0115' of [0101] is also that of [0100] (line 42)"},
        {"[5]", Severity::Error, "did you mean [0005]?"},
        {"[0080]", Severity::Error, "parameter sections are 0000 to 007F"},
        {"[0004", Severity::Error, "has no ']'"},
        {"Address=zz"},
    };
    return lines;
}

std::string Joined(const std::vector<SeedLine>& lines) {
    std::string text;
    for (const SeedLine& line : lines) text += line.text + "\r\n";
    return text;
}

}  // namespace

// --- Findings ---

TEST(DefinitionCheck, SeededFileGivesEachFaultOnceOnItsLine) {
    const std::vector<SeedLine>& seeded = SeededFile();
    const std::vector<DefinitionFinding> findings = CheckDefinitions(ProfileText(Joined(seeded)));

    std::size_t next = 0;
    for (std::size_t i = 0; i < seeded.size(); ++i) {
        if (!seeded[i].level) continue;
        ASSERT_LT(next, findings.size()) << "nothing said about line " << i + 1;
        const DefinitionFinding& finding = findings[next++];
        EXPECT_EQ(finding.Line, i + 1) << finding.Message;
        EXPECT_EQ(finding.Level, *seeded[i].level) << finding.Message;
        EXPECT_NE(finding.Message.find(seeded[i].says), std::string::npos)
            << "line " << i + 1 << ": " << finding.Message;
    }
    for (; next < findings.size(); ++next) {
        ADD_FAILURE() << "unexpected, line " << findings[next].Line << ": "
                      << findings[next].Message;
    }
}

// Each small file, and everything the check says of it, exactly.
TEST(DefinitionCheck, EachCaseGivesExactlyItsFindings) {
    const std::string named = "[0040]\r\nNameRu=\xC8\r\nNameEn=N\r\n";
    const struct {
        std::string Text;
        std::vector<std::string> Findings;  // "LINE warning|error: message"
    } cases[] = {
        {"[Configuration]\r\nLanguage=en\r\n" + named + "Digits=18\r\n", {}},
        {named + "Signed=1\r\nFormula=ln(-X)\r\n", {}},
        {named + "Mni=1\r\n", {"4 warning: unknown key 'Mni' is not read: did you mean 'Min'?"}},
        {named + "Mn1=1\r\n", {"4 warning: unknown key 'Mn1' is not read"}},
        // A slot of set 2 on the address of a slot of set 1 shows its own value.
        {"[0000]\r\nNameRu=\xC8\r\nNameEn=N\r\nAddress=0100\r\n"
         "[0010]\r\nNameEn=M\r\nAddress=0100\r\n",
         {"5 warning: parameter [0010] of set 2 has no Russian name"}},
        {"[0000]\r\nNameRu=\xC8\r\nNameEn=N\r\nAddress=10100\r\n"
         "[0001]\r\nNameRu=\xC8\r\nNameEn=M\r\nAddress=0100\r\n",
         {"4 warning: Address '10100' of [0000] is above FFFF: only its low 16 bits, 0100, are "
          "sent",
          "8 warning: [0001] has the same address as [0000] (line 4): both slots of set 1 show one "
          "value"}},
        {"[0180]\r\nCode=P1\r\n" + named,
         {"1 error: section [0180] is not read: parameter sections are 0000 to 007F, error "
          "sections 0100 to 017F"}},
        {"[0100]\r\nNameRu=\xD1\x81\r\n" + named,
         {"2 warning: value looks like UTF-8: the file is read as cp1251, so its letters come out "
          "wrong"}},
        {"[0100]\r\nNameRu=\xD1\x81\r\n[0101]\r\nNameRu=\xD0\x98\r\nReasonRu=\xD0\x98\r\n" + named,
         {"2 warning: 3 values look like UTF-8, this one first: the file seems saved as UTF-8, but "
          "it is read as cp1251, so their letters come out wrong (save it as Windows-1251)"}},
        // Sound as they stand: a decimal bound, the first section past the
        // sets (it needs no names), the highest address a slot carries, and
        // a formula defined for one raw value only.
        {named + "Min=-0.5\r\nMax=2.5\r\nFormula=ln(1-X)\r\n", {}},
        {"[0020]\r\nAddress=FFFF\r\n", {}},
        {named + "Kolour=255\r\n",
         {"4 warning: unknown key 'Kolour' is not read: did you mean 'Color'?"}},
        // Fixed faults: each of these passed as clean, though the program
        // reads the file otherwise than meant.
        {named + "Min=90\r\nMax=-40\r\n",
         {"4 warning: Min 90 is above Max -40: the range plays no part (no value is marked as "
          "outside it, and the trend scales itself)"}},
        {"[0000]\rNameRu=\xC8\rNameEn=N\r",
         {"1 error: a CR without an LF after it: lines end at LF only, so what follows the CR is "
          "read as part of this line (save the file with Windows or Unix line ends)",
          "1 warning: parameter [0000] of set 1 has neither a Russian nor an English name"}},
        {"[Configuration]\r\nLanguage=RU\r\n",
         {"1 warning: the file defines no parameter (no section [0000] to [007F]; it holds only "
          "the language, as the window writes it on closing when it started without "
          "database.ini): no parameter has a name, and every value is the raw word"}},
        {"; nothing yet\r\n[0100]\r\nCode=P1\r\n",
         {"1 warning: the file defines no parameter (no section [0000] to [007F]): no parameter "
          "has a name, and every value is the raw word"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> findings;
        for (const DefinitionFinding& finding : CheckDefinitions(ProfileText(c.Text)))
            findings.push_back(std::to_string(finding.Line) +
                               (finding.Level == Severity::Error ? " error: " : " warning: ") +
                               finding.Message);
        EXPECT_EQ(findings, c.Findings) << c.Text;
    }
    // Formulas that name X but do not follow it: a statement ends early.
    for (const char* formula : {"2X", "X X", "X)", "X*"}) {
        const auto findings = CheckDefinitions(ProfileText(named + "Formula=" + formula + "\r\n"));
        ASSERT_EQ(findings.size(), 1u) << formula;
        EXPECT_EQ(findings[0].Line, 4u);
        EXPECT_NE(findings[0].Message.find("whatever the raw value"), std::string::npos)
            << findings[0].Message;
    }
}

TEST(DefinitionCheck, SampleFileIsClean) {
    const std::string sample = ReadBytes(fs::path(VMX_SOURCE_DIR) / "data" / "database.ini");
    ASSERT_FALSE(sample.empty());
    for (const DefinitionFinding& finding : CheckDefinitions(ProfileText(sample))) {
        ADD_FAILURE() << "line " << finding.Line << ": " << finding.Message;
    }
}

// --- The command ---

#ifdef VMXDIAG_CLI_PATH

#include <sys/stat.h>

#include "support/CliRun.h"

TEST(CheckCommand, ExitStatusTellsCleanFaultyAndUnreadable) {
    ScratchFolder folder;
    fs::copy_file(fs::path(VMX_SOURCE_DIR) / "data" / "database.ini", folder / "database.ini");
    const CommandRun clean = RunCli(folder.Path(), "check --werror");
    EXPECT_EQ(clean.status, 0) << clean.output;
    EXPECT_EQ(clean.output, "0 errors, 0 warnings\n");

    WriteBytes(folder / "warn.ini", "[Configuration]\r\nLanguage=DE\r\n[0020]\r\n");
    const CommandRun warned = RunCli(folder.Path(), "check ./warn.ini");
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(warned.output,
              "./warn.ini:2: warning: Language 'DE' is neither RU nor EN: it selects English\n"
              "0 errors, 1 warning\n");
    EXPECT_EQ(RunCli(folder.Path(), "check --werror warn.ini").status, 1);

    // A key in cp1251 comes out in UTF-8.
    WriteBytes(folder / "bad.ini", "[0000]\r\n\xC8\xEC\xFF=1\r\nAddress=-5\r\n");
    const CommandRun bad = RunCli(folder.Path(), "check bad.ini");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.output.find("bad.ini:2: warning: unknown key 'Имя' is not read\n"),
              std::string::npos)
        << bad.output;
    EXPECT_NE(bad.output.find("bad.ini:3: error: Address '-5' of [0000] cannot be converted"),
              std::string::npos)
        << bad.output;
    EXPECT_TRUE(bad.output.ends_with("\n1 error, 2 warnings\n")) << bad.output;

    // Fixed fault: a zero byte in the value cut the quoted start-up error short.
    WriteBytes(folder / "zero.ini", std::string("[0020]\r\nAddress=1\0Z\r\n", 21));
    const CommandRun zero = RunCli(folder.Path(), "check zero.ini");
    EXPECT_EQ(zero.output,
              "zero.ini:2: error: Address '1?Z' of [0020] cannot be converted: the program stops "
              "at start-up with \"'0x1?Z' is not a valid integer value\"\n1 error, 0 warnings\n");

    fs::create_directory(folder / "folder.ini");
    ASSERT_EQ(::mkfifo((folder / "fifo.ini").c_str(), 0600), 0);
    const std::pair<const char*, const char*> unreadable[] = {
        {"missing.ini", "missing.ini: error: cannot be read: No such file or directory\n"},
        {"folder.ini", "folder.ini: error: cannot be read: Is a directory\n"},
        // Opening a FIFO for reading waits for a writer unless told not to.
        {"fifo.ini", "fifo.ini: error: cannot be read: not a regular file\n"},
    };
    for (const auto& [name, says] : unreadable) {
        const CommandRun run = RunCli(folder.Path(), std::string("check ") + name);
        EXPECT_EQ(run.status, 2) << name;
        EXPECT_EQ(run.output, says);
    }
}

#endif
