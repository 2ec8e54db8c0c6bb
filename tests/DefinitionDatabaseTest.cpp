// Loading the definitions of database.ini, the language setting, and the
// language written back when a session ends.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "database/DefinitionDatabase.h"
#include "database/ProfileValues.h"
#include "session/SessionDefinitions.h"
#include "support/ScratchFolder.h"
#include "text/CodePage.h"

namespace fs = std::filesystem;

namespace {

class RecordingSink : public MessageSink {
public:
    void ShowError(const std::string& text) override { Messages.push_back(text); }
    std::vector<std::string> Messages;
};

// A folder holding one database.ini with the given text.
class DatabaseFolder : public ScratchFolder {
public:
    explicit DatabaseFolder(const std::string& text) { WriteBytes(IniPath(), text); }
    fs::path IniPath() const { return *this / "database.ini"; }
};

std::string ParameterFile(const std::string& keys) {
    return "[0000]\r\n" + keys + "\r\n";
}

}  // namespace

// --- Sections and defaults ---

TEST(DefinitionDatabase, SectionNamesReachTheirIndexes) {
    DatabaseFolder folder(
        "[000A]\nCodeEn=TEN\n[007F]\nCodeEn=LAST\n[0080]\nCodeEn=BEYOND\n"
        "[0100]\nCode=E000\n[017f]\nCode=E127\n[0180]\nCode=BEYOND\n");
    DefinitionDatabase database(folder.IniPath());
    EXPECT_EQ(database.Parameters[10].CodeEn, "TEN");
    EXPECT_EQ(database.Parameters[127].CodeEn, "LAST");
    EXPECT_EQ(database.Errors[0].Code, "E000");
    EXPECT_EQ(database.Errors[127].Code, "E127");
    for (std::size_t i = 0; i < DefinitionDatabase::DefinitionCount; ++i) {
        EXPECT_NE(database.Parameters[i].CodeEn, "BEYOND");
        EXPECT_NE(database.Errors[i].Code, "BEYOND");
    }
}

TEST(DefinitionDatabase, MissingFileGivesRussianAndEveryDefault) {
    ScratchFolder folder;
    DefinitionDatabase database(folder / "database.ini");
    EXPECT_EQ(database.LanguageIndex, 0);
    for (const ParameterDef& def : database.Parameters) {
        EXPECT_EQ(def.CodeEn, "");
        EXPECT_EQ(def.Name, &def.NameRu);
        EXPECT_EQ(def.Address, 0);
        EXPECT_EQ(def.Length, 2);
        EXPECT_FALSE(def.Signed);
        EXPECT_EQ(def.Formula, "X");
        EXPECT_EQ(def.Digits, 0);
        EXPECT_EQ(def.Min, 0.0);
        EXPECT_EQ(def.Max, 0.0);
        EXPECT_EQ(def.Color, 0xFFFF);
    }
    for (const ErrorDef& def : database.Errors) {
        EXPECT_EQ(def.Bit, 0);
        EXPECT_EQ(def.NameEn, "");
    }
    EXPECT_FALSE(fs::exists(folder / "database.ini")) << "loading never writes";
}

TEST(DefinitionDatabase, IntegerFlagAndDecimalKeysTakeTheirDefaultsWhenNotNumbers) {
    const struct {
        const char* keys;
        int digits, length;
        bool isSigned;
    } cases[] = {
        {"Digits=0x2\r\nLength=\r\nSigned=2", 2, 2, true},
        {"Digits=abc\r\nLength=4\r\nSigned=0", 0, 4, false},
        {"Digits=258\r\nLength=$101\r\nSigned=yes", 2, 1, false},
        {"Digits=300\r\nLength=-1\r\nSigned=-1", 44, -1, true},
        {"Digits=\r\nLength=x\r\nSigned=true", 0, 2, false},
    };
    for (const auto& c : cases) {
        DatabaseFolder folder(ParameterFile(c.keys));
        DefinitionDatabase database(folder.IniPath());
        const ParameterDef& def = database.Parameters[0];
        EXPECT_EQ(def.Digits, c.digits) << c.keys;
        EXPECT_EQ(def.Length, c.length) << c.keys;
        EXPECT_EQ(def.Signed, c.isSigned) << c.keys;
    }
}

TEST(DefinitionDatabase, TextKeysKeepPresentEmptyValues) {
    DatabaseFolder folder(
        ParameterFile("Formula=\r\nMin=-40.5\r\nMax=1,5\r\nColor=$FF00\r\n"
                      "NameRu=\xCE\xE1\xEE\xF0\xEE\xF2\xFB\r\nNameEn=Engine speed"));
    DefinitionDatabase database(folder.IniPath());
    const ParameterDef& def = database.Parameters[0];
    EXPECT_EQ(def.Formula, "");
    EXPECT_EQ(def.Min, -40.5);
    EXPECT_EQ(def.Max, 0.0);
    EXPECT_EQ(def.Color, 0xFF00);
    EXPECT_EQ(Cp1251ToUtf8(def.NameRu), "Обороты");
    EXPECT_EQ(def.NameEn, "Engine speed");
}

// --- Addresses ---

TEST(DefinitionDatabase, AddressIsBareHexOrAbsent) {
    DatabaseFolder folder("[0000]\nAddress=1f\n[0001]\nAddress=01A4\n[0002]\nCodeEn=NOADDR\n");
    DefinitionDatabase database(folder.IniPath());
    EXPECT_EQ(database.Parameters[0].Address, 0x1F);
    EXPECT_EQ(database.Parameters[1].Address, 0x1A4);
    EXPECT_EQ(database.Parameters[2].Address, 0);
}

TEST(DefinitionDatabase, BadAddressEndsConstructionWithItsText) {
    const struct {
        const char* value;
        const char* message;
    } cases[] = {
        {"0x1F", "'0x0x1F' is not a valid integer value"},
        {"", "'0x' is not a valid integer value"},
        {"-5", "'0x-5' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        // Late in the table, so everything before it loaded fine.
        DatabaseFolder folder("[0000]\r\nAddress=10\r\n[0042]\r\nAddress=" + std::string(c.value) +
                              "\r\n");
        const std::string before = ReadBytes(folder.IniPath());
        RecordingSink sink;
        try {
            SessionDefinitions definitions(sink, folder.Path());
            ADD_FAILURE() << "no error for '" << c.value << "'";
        } catch (const ConversionError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        // A session that never started does not save its language.
        EXPECT_EQ(ReadBytes(folder.IniPath()), before);
        EXPECT_TRUE(sink.Messages.empty());
    }
}

// --- Language ---

TEST(DefinitionDatabase, OnlyRuInAnyCaseOrNoKeyGivesRussian) {
    const struct {
        const char* file;
        int index;
    } cases[] = {
        {"[Configuration]\nLanguage=ru\n", 0},  {"[Configuration]\nLanguage=RU\n", 0},
        {"[configuration]\nlanguage=Ru\n", 0},  {"[Configuration]\nOther=1\n", 0},
        {"[Configuration]\nLanguage=EN\n", 1},  {"[Configuration]\nLanguage=DE\n", 1},
        {"[Configuration]\nLanguage=RUS\n", 1}, {"[Configuration]\nLanguage=\n", 1},
    };
    for (const auto& c : cases) {
        DatabaseFolder folder(c.file);
        DefinitionDatabase database(folder.IniPath());
        EXPECT_EQ(database.LanguageIndex, c.index) << c.file;
    }
}

TEST(DefinitionDatabase, TextReferencesFollowTheLanguageAndStayInTheirDefinition) {
    DatabaseFolder folder(
        "[Configuration]\nLanguage=EN\n[0003]\nNameRu=ru name\nNameEn=en name\nUnitRu=ru "
        "unit\nUnitEn=en unit\n[0105]\nNameRu=ru error\nNameEn=en error\nReasonRu=ru "
        "why\nReasonEn=en why\n");
    DefinitionDatabase database(folder.IniPath());
    EXPECT_EQ(*database.Parameters[3].Name, "en name");
    EXPECT_EQ(*database.Errors[5].Reason, "en why");

    database.LanguageIndex = 0;
    database.ApplyDefinitionLanguage();
    EXPECT_EQ(*database.Parameters[3].Name, "ru name");
    EXPECT_EQ(*database.Parameters[3].Unit, "ru unit");
    EXPECT_EQ(*database.Errors[5].Name, "ru error");
    EXPECT_EQ(*database.Errors[5].Reason, "ru why");

    database.LanguageIndex = 1;
    database.ApplyDefinitionLanguage();
    for (const ParameterDef& def : database.Parameters) {
        EXPECT_EQ(def.Name, &def.NameEn);
        EXPECT_EQ(def.Unit, &def.UnitEn);
    }
    for (const ErrorDef& def : database.Errors) {
        EXPECT_EQ(def.Name, &def.NameEn);
        EXPECT_EQ(def.Reason, &def.ReasonEn);
    }
    EXPECT_EQ(database.Parameters[3].NameRu, "ru name") << "switching changes no text";
}

// --- The language written back when the session ends ---

TEST(SessionDefinitions, EveryEndWritesRuOrEnSwitchedOrNot) {
    const struct {
        const char* held;
        bool toggle;
        const char* written;
    } cases[] = {{"ru", false, "RU"}, {"DE", false, "EN"}, {"RU", true, "EN"}, {"EN", true, "RU"}};
    for (const auto& c : cases) {
        DatabaseFolder folder("; comment\r\n[Configuration]\r\nLanguage=" + std::string(c.held) +
                              "\r\n[0000]\r\nCodeEn=NMOT\r\n");
        RecordingSink sink;
        {
            SessionDefinitions definitions(sink, folder.Path());
            if (c.toggle) {
                definitions.LanguageIndex = definitions.LanguageIndex == 0 ? 1 : 0;
                definitions.ApplyDefinitionLanguage();
            }
        }
        EXPECT_EQ(ReadBytes(folder.IniPath()),
                  "; comment\r\n[Configuration]\r\nLanguage=" + std::string(c.written) +
                      "\r\n[0000]\r\nCodeEn=NMOT\r\n");
        EXPECT_TRUE(sink.Messages.empty());
    }
}

TEST(SessionDefinitions, WithoutAFileTheEndCreatesOneHoldingOnlyTheLanguage) {
    ScratchFolder folder;
    RecordingSink sink;
    {
        SessionDefinitions definitions(sink, folder.Path());
        definitions.LanguageIndex = 1;
    }
    EXPECT_EQ(ReadBytes(folder / "database.ini"), "[Configuration]\r\nLanguage=EN\r\n");
}

TEST(SessionDefinitions, UnchangedLanguageDoesNotRewriteTheFile) {
    DatabaseFolder folder("[Configuration]\r\nLanguage=RU\r\n");
    const FileIdentity before = IdentityOf(folder.IniPath());
    RecordingSink sink;
    { SessionDefinitions definitions(sink, folder.Path()); }
    EXPECT_EQ(IdentityOf(folder.IniPath()), before);
}

TEST(SessionDefinitions, FailedWriteIsReportedWithTheFullPathAndChangesNothing) {
    ScratchFolder folder;
    fs::create_directory(folder / "plant");
    const fs::path path = folder / "plant" / "database.ini";
    const std::string text = "[Configuration]\r\nLanguage=RU\r\n[0000]\r\nCodeEn=NMOT\r\n";
    WriteBytes(path, text);
    RecordingSink sink;
    {
        SessionDefinitions definitions(sink, folder / "plant");
        definitions.LanguageIndex = 1;
        // The folder goes away under the session and a file takes its name.
        fs::rename(folder / "plant", folder / "moved");
        WriteBytes(folder / "plant", "not a folder");
    }
    ASSERT_EQ(sink.Messages.size(), 1u);
    // The system's reason on a line of its own ("Not a directory" on Linux).
    const std::string said = "Unable to write to " + path.string() + "\n";
    EXPECT_EQ(sink.Messages[0].substr(0, said.size()), said);
    EXPECT_GT(sink.Messages[0].size(), said.size());
    EXPECT_EQ(ReadBytes(folder / "moved" / "database.ini"), text);
    EXPECT_EQ(ReadBytes(folder / "plant"), "not a folder");

    // Fixed fault: the message gave no reason, and a folder named database.ini
    // looked like a file that could not be written.
    fs::create_directory(folder / "database.ini");
    sink.Messages.clear();
    { SessionDefinitions definitions(sink, folder.Path()); }
    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_EQ(sink.Messages[0],
              "Unable to write to " + (folder / "database.ini").string() + "\nIs a directory");
}

// --- The sample file of the demo ---

TEST(SampleDatabase, LoadsInRussianWithTheSimulatorsAddresses) {
    DefinitionDatabase database(fs::path(VMX_SOURCE_DIR) / "data" / "database.ini");
    EXPECT_EQ(database.LanguageIndex, 0);
    EXPECT_EQ(database.Parameters[0].CodeEn, "NMOT");
    EXPECT_EQ(Cp1251ToUtf8(*database.Parameters[0].Name), "Обороты двигателя");
    EXPECT_EQ(database.Parameters[7].Address, 0x01A4);
    EXPECT_TRUE(database.Parameters[1].Signed);
    EXPECT_EQ(database.Parameters[17].Formula, "X*0.5-50");
    EXPECT_EQ(database.Parameters[35].CodeEn, "TRAIL");
    EXPECT_EQ(database.Parameters[36].CodeEn, "");
    std::size_t errors = 0;
    for (const ErrorDef& def : database.Errors) errors += def.Code.empty() ? 0 : 1;
    EXPECT_GE(errors, 20u);
    EXPECT_EQ(database.Errors[127].Bit, 127);
}
