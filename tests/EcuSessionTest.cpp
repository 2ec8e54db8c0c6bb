// The session's life: built port first and definitions after it, and at its
// end the language saved before the port is closed, even when the save fails.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

#include "serial/SerialPort.h"
#include "sim/posix/EcuSimulator.h"
#include "support/RecordingSink.h"
#include "support/ScratchFolder.h"
#include "window/EcuSession.h"

namespace {

const std::string File =
    "[Configuration]\r\nLanguage=ru\r\n[0000]\r\nCodeEn=NMOT\r\nAddress=100\r\n"
    "[0010]\r\nCodeEn=PATM\r\nAddress=11E\r\n";

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
    EcuSession session(sink, folder.Path());
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
        EcuSession session(sink, folder.Path());
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
        EcuSession session(sink, folder.Path());
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
        EcuSession session(sink, folder.Path());
        FAIL() << "constructed";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "'0x0x1F' is not a valid integer value");
    }
    EXPECT_EQ(ReadBytes(folder / "database.ini"), "[0003]\r\nAddress=0x1F\r\n");
}
