// vmxdiag-cli definitions: the definitions of database.ini as a user reads
// them in a terminal, without the file ever being written.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/CliRun.h"
#include "support/ScratchFolder.h"

#ifdef VMXDIAG_CLI_PATH

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(DefinitionsCommand, ShowsTheSampleInRussianOrEnglishAndNeverWrites) {
    ScratchFolder folder;
    fs::copy_file(fs::path(VMX_SOURCE_DIR) / "data" / "database.ini", folder / "database.ini");
    const std::string before = ReadBytes(folder / "database.ini");
    const FileIdentity identity = IdentityOf(folder / "database.ini");

    const CommandRun russian = RunCli(folder.Path(), "definitions");
    EXPECT_EQ(russian.status, 0) << russian.output;
    EXPECT_NE(russian.output.find("Language: RU"), std::string::npos);
    EXPECT_NE(russian.output.find("Обороты двигателя"), std::string::npos) << russian.output;
    EXPECT_NE(russian.output.find("об/мин"), std::string::npos);
    EXPECT_NE(russian.output.find("Ошибка контрольной суммы EEPROM"), std::string::npos);
    EXPECT_NE(russian.output.find("Parameters in use: 36 of 128"), std::string::npos);

    const CommandRun english = RunCli(folder.Path(), "definitions --lang EN");
    EXPECT_EQ(english.status, 0) << english.output;
    EXPECT_NE(english.output.find("Language: EN"), std::string::npos);
    EXPECT_NE(english.output.find("Engine speed"), std::string::npos);
    EXPECT_NE(english.output.find("01A4"), std::string::npos);
    EXPECT_EQ(english.output.find("Обороты"), std::string::npos);

    EXPECT_EQ(ReadBytes(folder / "database.ini"), before);
    EXPECT_EQ(IdentityOf(folder / "database.ini"), identity);
}

// Fixed fault: the conversion error did not say where the value stood.
TEST(DefinitionsCommand, BadAddressPrintsTheConversionErrorWithItsSectionAndFails) {
    ScratchFolder folder;
    WriteBytes(folder / "database.ini", "[0005]\r\nAddress=0x10\r\n");
    const CommandRun run = RunCli(folder.Path(), "definitions");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(
        run.output.find("section [0005]: Address=0x10 ('0x0x10' is not a valid integer value)"),
        std::string::npos)
        << run.output;
}

// Fixed fault: a database.ini that could not be read showed as a file with no
// definitions, and the command succeeded; a FIFO made every command hang.
TEST(DefinitionsCommand, AFileThatCannotBeReadIsSaidSoAndFails) {
    ScratchFolder folder;
    fs::create_directory(folder / "database.ini");
    const CommandRun run = RunCli(folder.Path(), "definitions");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("database.ini (cannot be read: Is a directory)"), std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("Parameters in use"), std::string::npos) << run.output;

    fs::remove(folder / "database.ini");
    ASSERT_EQ(::mkfifo((folder / "database.ini").c_str(), 0644), 0);
    const CommandRun errors = RunCli(folder.Path(), "errors --port /dev/null", true);
    EXPECT_NE(errors.status, 0);
    EXPECT_EQ(errors.output, "database.ini: error: cannot be read: not a regular file\n");
}

// Fixed fault: a missing database.ini, or one without a parameter, showed as
// nameless rows and raw words, as if the ECU were at fault; a fault that stops
// the start was not said where check says it.
TEST(DefinitionsCommand, CommandsOnTheLineSayWhatIsAmissWithTheFile) {
    ScratchFolder folder;
    const std::string port = " --port /dev/null";
    // (live refuses to run without parameters: see CliSession.)
    for (const char* command : {"errors", "info"}) {
        const CommandRun missing = RunCli(folder.Path(), std::string(command) + port);
        EXPECT_THAT(missing.output,
                    StartsWith("database.ini is not in the current folder, " +
                               folder.Path().string() + ": no parameter or error has a name"))
            << command;
        EXPECT_THAT(missing.output, HasSubstr("Port /dev/null: cannot be set up")) << command;
    }
    WriteBytes(folder / "database.ini", "[Configuration]\r\nLanguage=EN\r\n[0100]\r\nCode=P1\r\n");
    EXPECT_THAT(RunCli(folder.Path(), "errors" + port).output,
                StartsWith("database.ini in " + folder.Path().string() +
                           " defines no parameter (no section [0000] to [007F]). No parameter has "
                           "a name"));
    // Fixed fault: the file the window leaves after a start without one was
    // said to define no parameter, without where or why.
    WriteBytes(folder / "database.ini", "[Configuration]\r\nLanguage=EN\r\n");
    EXPECT_THAT(RunCli(folder.Path(), "errors" + port).output,
                StartsWith("database.ini in " + folder.Path().string() +
                           " defines no parameter: it holds only the language, as the window "
                           "writes it on closing when it started without the file. No parameter "
                           "has a name, and every value is the raw word.\n"));

    WriteBytes(folder / "database.ini", "[0005]\r\nNameEn=Speed\r\nAddress=0x10\r\n");
    const CommandRun stopped = RunCli(folder.Path(), "live" + port);
    EXPECT_EQ(stopped.status, 1);
    EXPECT_EQ(stopped.output,
              "database.ini:3: error: Address '0x10' of [0005] cannot be converted: the program "
              "stops at start-up with \"'0x0x10' is not a valid integer value\"\n"
              "Run 'vmxdiag-cli check' for every finding in database.ini, warnings included.\n");
}

#endif
