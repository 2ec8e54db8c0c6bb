// The writer of the window's log and of the line recording, and the small
// text helpers of the core: what each promises where a fault would otherwise
// pass unseen.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "database/ValueText.h"
#include "platform/FileWriter.h"
#include "platform/LocalTime.h"
#include "platform/WritableFile.h"
#include "presentation/LiveCsv.h"
#include "support/FileSizeLimit.h"
#include "support/ScratchFolder.h"
#include "text/Printable.h"

namespace {

// --- The file writer ---

// Fixed fault: a row that did not fit stayed in the file cut, and was read
// as a row of values.
TEST(FileWriter, AWriteThatFailsPartWayLeavesTheFileAtItsLastWholePiece) {
    ScratchFolder folder;
    const auto path = folder / "log.csv";
    FileCreate created = CreateRegularFile(path, false);
    ASSERT_EQ(created.Outcome, FileCreateOutcome::Created);
    FileWriter writer;
    writer.Adopt(created.File);
    ASSERT_TRUE(writer.Write("time,NMOT\n"));
    {
        const FileSizeLimit full(10 + 6);
        EXPECT_FALSE(writer.Write("10:15:30.125,840.0,43\n"));
    }
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_EQ(writer.Failure(), "File too large");
    EXPECT_FALSE(writer.Write("10:15:30.345,845.0,43\n"));
    EXPECT_EQ(ReadBytes(path), "time,NMOT\n");
}

TEST(FileWriter, AFailedWriteOrCloseIsAFailureInTheSystemsWords) {
    FileWriter full;
    full.Adopt(std::fopen("/dev/full", "wb"));
    ASSERT_TRUE(full.IsOpen());
    EXPECT_FALSE(full.Write("a row\n"));
    EXPECT_FALSE(full.IsOpen());
    EXPECT_EQ(full.Failure(), "No space left on device");

    ScratchFolder folder;
    std::FILE* file = std::fopen((folder / "log.csv").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    FileWriter writer;
    writer.Adopt(file);
    ASSERT_TRUE(writer.Write("a row\n"));
    // The descriptor goes behind the stream's back: its close fails, as one
    // on a medium pulled out does.
    ::close(::fileno(file));
    EXPECT_FALSE(writer.Close());
    EXPECT_EQ(writer.Failure(), "Bad file descriptor");
}

// --- Texts ---

TEST(TextHelpers, ControlCharactersAndDelShowAsQuestionMarks) {
    EXPECT_EQ(Printable("a\x7F"
                        "b\x1B]0;title\x07"),
              "a?b?]0;title?");
    EXPECT_EQ(Printable("\xC8\xEC\xFF"), "Имя");
    EXPECT_EQ(WithControlsShown(std::string("0x12\0AB", 7)), "0x12?AB");
}

TEST(TextHelpers, NumberTextIsTheShortestThatReadsBackTheSameNumber) {
    EXPECT_EQ(NumberText(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(NumberText(-0.5), "-0.5");
    EXPECT_EQ(NumberText(65535), "65535");
}

// The local time follows the zone of the machine, here three hours east.
TEST(TextHelpers, LocalTimesFollowTheZoneAndTheLogKeepsTheMilliseconds) {
    const char* before = std::getenv("TZ");
    const std::optional<std::string> saved =
        before ? std::optional<std::string>(before) : std::nullopt;
    ::setenv("TZ", "XYZ-3", 1);
    ::tzset();
    const std::string time = LocalTimeText(0, "%Y-%m-%d %H:%M");
    const std::string csv =
        CsvTime(std::chrono::system_clock::from_time_t(0) + std::chrono::milliseconds(123));
    if (saved)
        ::setenv("TZ", saved->c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(time, "1970-01-01 03:00");
    EXPECT_EQ(csv, "1970-01-01T03:00:00.123");
}

}  // namespace
