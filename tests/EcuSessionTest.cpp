// The session's life: built port first and definitions after it, and at its
// end the language saved before the port is closed, even when the save fails;
// what each front end's session reads and writes of database.ini, and a start
// that cannot make its recording.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "serial/SerialPort.h"
#include "session/SessionFactory.h"
#include "sim/posix/EcuSimulator.h"
#include "support/RecordingSink.h"
#include "support/ScratchFolder.h"

namespace {

const std::string File =
    "[Configuration]\r\nLanguage=ru\r\n[0000]\r\nCodeEn=NMOT\r\nAddress=100\r\n"
    "[0010]\r\nCodeEn=PATM\r\nAddress=11E\r\n";

// The window's session, over the machine's ports.
std::unique_ptr<EcuSession> WindowSession(MessageSink& sink, const std::filesystem::path& folder) {
    SessionOptions options;
    options.Directory = folder;
    options.Definitions = DefinitionUse::KeepLanguage;
    return MakeSession(sink, std::move(options));
}

// True when nobody holds the device any more.
bool DeviceIsFree(const std::string& device) {
    SerialPort other;
    return other.Open(device).Opened();
}

}  // namespace

TEST(EcuSession, StartsClosedWithTheDefinitionsLoadedAndSetZeroSelected) {
    ScratchFolder folder;
    WriteBytes(folder / "database.ini", File);
    RecordingSink sink;
    const auto made = WindowSession(sink, folder.Path());
    EcuSession& session = *made;
    EXPECT_FALSE(session.Line.IsOpen());
    EXPECT_EQ(session.Definitions.LanguageIndex, 0);
    EXPECT_EQ(session.Sets.Slots[0], &session.Definitions.Parameters[0]);
    EXPECT_EQ(session.Sets.SlotAddresses()[0], 0x100u);
    session.Sets.SelectSet(1);
    EXPECT_EQ(session.Sets.Slots[0]->CodeEn, "PATM");
    EXPECT_EQ(session.Line.Ecu().ProgramVersion, "");
}

TEST(EcuSession, EndSavesTheLanguageAndClosesThePort) {
    ScratchFolder folder;
    WriteBytes(folder / "database.ini", File);
    EcuSimulator simulator;
    RecordingSink sink;
    {
        const auto made = WindowSession(sink, folder.Path());
        EcuSession& session = *made;
        ASSERT_TRUE(session.Line.Open(simulator.DevicePath()).Opened());
        EXPECT_TRUE(session.Line.Ecu().Probe());
        EXPECT_FALSE(DeviceIsFree(simulator.DevicePath()));
        session.Definitions.LanguageIndex = 1;
    }
    EXPECT_NE(ReadBytes(folder / "database.ini").find("Language=EN\r\n"), std::string::npos);
    EXPECT_TRUE(DeviceIsFree(simulator.DevicePath()));
    EXPECT_TRUE(sink.Messages.empty());
}

TEST(EcuSession, FailedSaveIsReportedAndThePortIsStillClosed) {
    ScratchFolder folder;
    const auto path = folder / "database.ini";
    WriteBytes(path, File);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EcuSimulator simulator;
    RecordingSink sink;
    {
        const auto made = WindowSession(sink, folder.Path());
        EcuSession& session = *made;
        session.Line.Open(simulator.DevicePath());
        session.Definitions.LanguageIndex = 1;
    }
    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_EQ(sink.Messages[0], "Unable to write to " + path.string() + "\nPermission denied");
    EXPECT_EQ(ReadBytes(path), File);
    EXPECT_TRUE(DeviceIsFree(simulator.DevicePath()));
}

TEST(EcuSession, BadAddressEndsConstructionWithThePortNeverOpened) {
    ScratchFolder folder;
    WriteBytes(folder / "database.ini", "[0003]\r\nAddress=0x1F\r\n");
    RecordingSink sink;
    try {
        WindowSession(sink, folder.Path());
        FAIL() << "constructed";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "'0x0x1F' is not a valid integer value");
    }
    EXPECT_EQ(ReadBytes(folder / "database.ini"), "[0003]\r\nAddress=0x1F\r\n");
}

// --- What each front end's session does with database.ini ---

// The window writes the language back; the command-line tool never writes
// the file, and a command that needs no definitions does not read it.
TEST(EcuSession, EachUseOfTheDefinitionsReadsAndWritesOnlyWhatItSays) {
    struct Case {
        DefinitionUse Use;
        bool Read;
        bool Written;
    };
    for (const Case& use :
         {Case{DefinitionUse::None, false, false}, Case{DefinitionUse::Read, true, false},
          Case{DefinitionUse::KeepLanguage, true, true}}) {
        SCOPED_TRACE(static_cast<int>(use.Use));
        ScratchFolder folder;
        WriteBytes(folder / "database.ini", File);
        RecordingSink sink;
        SessionOptions options;
        options.Directory = folder.Path();
        options.Definitions = use.Use;
        {
            const auto session = MakeSession(sink, std::move(options));
            EXPECT_EQ(session->Sets.Slots[0]->CodeEn, use.Read ? "NMOT" : "");
            session->Definitions.LanguageIndex = 1;
        }
        EXPECT_EQ(ReadBytes(folder / "database.ini") != File, use.Written);
        EXPECT_TRUE(sink.Messages.empty());
    }
    // Nothing read, nothing to stop at: an Address that ends the others' start.
    ScratchFolder folder;
    WriteBytes(folder / "database.ini", "[0003]\r\nAddress=0x1F\r\n");
    RecordingSink sink;
    SessionOptions options;
    options.Directory = folder.Path();
    options.Definitions = DefinitionUse::None;
    EXPECT_NO_THROW(MakeSession(sink, std::move(options)));
}

TEST(EcuSession, TheLanguageChosenStandsForTheFilesAndIsNotWritten) {
    ScratchFolder folder;
    WriteBytes(folder / "database.ini", File);
    RecordingSink sink;
    SessionOptions options;
    options.Directory = folder.Path();
    options.Language = 1;
    {
        const auto session = MakeSession(sink, std::move(options));
        EXPECT_EQ(session->Definitions.LanguageIndex, 1);
        const ParameterDef& def = *session->Sets.Slots[0];
        EXPECT_EQ(def.Name, &def.NameEn);
    }
    EXPECT_EQ(ReadBytes(folder / "database.ini"), File);
}

// A recording that cannot be made stops the start, before any port is opened,
// with a sentence for the user; the file in its way is kept.
TEST(EcuSession, ARecordingThatCannotBeMadeStopsTheStart) {
    ScratchFolder folder;
    WriteBytes(folder / "database.ini", File);
    const std::string path = (folder / "taken.rec").string();
    WriteBytes(path, "an earlier drive\n");
    RecordingSink sink;
    SessionOptions options;
    options.Directory = folder.Path();
    options.Definitions = DefinitionUse::KeepLanguage;
    options.RecordPath = path;
    try {
        MakeSession(sink, std::move(options));
        FAIL() << "started";
    } catch (const RecordingNotCreated& error) {
        EXPECT_EQ(
            std::string(error.what()).rfind("The recording " + path + " cannot be created: ", 0),
            0u)
            << error.what();
    }
    EXPECT_EQ(ReadBytes(path), "an earlier drive\n");
    EXPECT_TRUE(sink.Messages.empty());
}
