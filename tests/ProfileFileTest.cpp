// The private-profile file on disk: a write changes one line and nothing else,
// reaches the file through links, and on failure leaves the old file whole.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <memory>
#include <string>

#include "database/ProfileFile.h"
#include "support/ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

// A file as a user keeps it: comments, other sections, keys nobody reads,
// CRLF line ends and cp1251 text.
const std::string UserFile =
    "; definitions of the plant\r\n"
    "[0000]\r\n"
    "NameRu=\xCE\xE1\xEE\xF0\xEE\xF2\xFB \xE4\xE2\xE8\xE3\xE0\xF2\xE5\xEB\xFF\r\n"
    "Unknown = kept as is  \r\n"
    "\r\n"
    "[Configuration]\r\n"
    "; the language of the window\r\n"
    "Language=ru\r\n"
    "Extra=1\r\n"
    "\r\n"
    "[Mine]\r\n"
    "Note=\"quoted\"\r\n";

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

}  // namespace

// --- Writing one key in place ---

TEST(ProfileFileWrite, ChangesExactlyOneLineAndKeepsEveryOtherByte) {
    ScratchFolder folder;
    const fs::path path = folder / "database.ini";
    WriteBytes(path, UserFile);
    ProfileFile file(path);
    ASSERT_TRUE(file.Write("Configuration", "Language", "RU"));

    std::string expected = UserFile;
    expected.replace(expected.find("Language=ru"), 11, "Language=RU");
    EXPECT_EQ(ReadBytes(path), expected);
    EXPECT_EQ(file.Read("Configuration", "Language"), std::optional<std::string>("RU"));
    EXPECT_EQ(EntriesIn(folder.Path()), 1u) << "no temporary file left behind";
}

TEST(ProfileFileWrite, SameValueLeavesTheFileUntouched) {
    ScratchFolder folder;
    const fs::path path = folder / "database.ini";
    WriteBytes(path, "[Configuration]\r\nLanguage=EN\r\n");
    const FileIdentity before = IdentityOf(path);
    ProfileFile file(path);
    EXPECT_TRUE(file.Write("Configuration", "Language", "EN"));
    EXPECT_EQ(IdentityOf(path), before);
}

TEST(ProfileFileWrite, MissingFileIsCreatedHoldingOnlyThatKey) {
    ScratchFolder folder;
    const fs::path path = folder / "database.ini";
    ProfileFile file(path);
    EXPECT_FALSE(file.HasSection("Configuration"));
    ASSERT_TRUE(file.Write("Configuration", "Language", "RU"));
    EXPECT_EQ(ReadBytes(path), "[Configuration]\r\nLanguage=RU\r\n");
}

TEST(ProfileFileWrite, KeepsThePermissionsOfTheOldFile) {
    ScratchFolder folder;
    const fs::path path = folder / "database.ini";
    WriteBytes(path, UserFile);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ProfileFile file(path);
    ASSERT_TRUE(file.Write("Configuration", "Language", "EN"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(ProfileFileWrite, SymbolicLinkStaysALinkAndItsTargetIsWritten) {
    ScratchFolder folder;
    fs::create_directory(folder / "real");
    WriteBytes(folder / "real" / "defs.ini", UserFile);
    const fs::path link = folder / "database.ini";
    fs::create_symlink("real/defs.ini", link);

    ProfileFile file(link);
    ASSERT_TRUE(file.Write("Configuration", "Language", "EN"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "real/defs.ini");
    EXPECT_NE(ReadBytes(folder / "real" / "defs.ini").find("Language=EN\r\n"), std::string::npos);
}

// Someone edits the file while the tool runs: writing the language must not
// bring back the file as it was at start-up.
TEST(ProfileFileWrite, KeepsWhatOthersChangedSinceTheFileWasRead) {
    ScratchFolder folder;
    const fs::path path = folder / "database.ini";
    WriteBytes(path, "[Configuration]\r\nLanguage=RU\r\n");
    ProfileFile file(path);
    WriteBytes(path, "[Configuration]\r\nLanguage=RU\r\n[0001]\r\nCodeEn=NEW\r\n");
    ASSERT_TRUE(file.Write("Configuration", "Language", "EN"));
    EXPECT_EQ(ReadBytes(path), "[Configuration]\r\nLanguage=EN\r\n[0001]\r\nCodeEn=NEW\r\n");
}

// --- Failed writes leave the old file whole ---

// The disk refuses the new file part-way (here through the file-size limit,
// which binds even root): the old file stays and no temporary file remains.
TEST(ProfileFileFailure, WriteFailingPartWayLeavesTheFileByteIdentical) {
    ScratchFolder folder;
    const fs::path path = folder / "database.ini";
    const std::string big = UserFile + "[Padding]\r\nFill=" + std::string(8192, 'p') + "\r\n";
    WriteBytes(path, big);
    ProfileFile file(path);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = file.Write("Configuration", "Language", "EN");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(file.WriteFailure(), "File too large");
    EXPECT_EQ(ReadBytes(path), big);
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
    EXPECT_EQ(file.Read("Configuration", "Language"), std::optional<std::string>("ru"));
}

TEST(ProfileFileFailure, FolderReplacedByAFileFailsTheWrite) {
    ScratchFolder folder;
    fs::create_directory(folder / "sub");
    const fs::path path = folder / "sub" / "database.ini";
    WriteBytes(path, UserFile);
    ProfileFile file(path);
    fs::remove_all(folder / "sub");
    WriteBytes(folder / "sub", "a file now");
    EXPECT_FALSE(file.Write("Configuration", "Language", "EN"));
    EXPECT_EQ(file.WriteFailure(), "Not a directory");
    EXPECT_EQ(ReadBytes(folder / "sub"), "a file now");
}

// A file that exists but cannot be read must not be replaced by one holding
// nothing but the language. Fixed fault: a FIFO blocked the reading for ever,
// before any command could start or be stopped.
TEST(ProfileFileFailure, AnythingButARegularFileReadsAsUnreadableAtOnceAndIsNotReplaced) {
    ScratchFolder folder;
    const fs::path directory = folder / "directory.ini";
    fs::create_directory(directory);
    const fs::path fifo = folder / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const auto& [path, reason] :
         {std::pair{directory, "Is a directory"}, std::pair{fifo, "not a regular file"}}) {
        auto reading = std::async(
            std::launch::async, [target = path] { return std::make_unique<ProfileFile>(target); });
        if (reading.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            // A writer lets the blocked open go, so that the test can end.
            ::close(::open(path.c_str(), O_WRONLY | O_NONBLOCK));
            FAIL() << "reading " << path << " blocked";
        }
        const auto file = reading.get();
        EXPECT_EQ(file->ReadFailure(), reason);
        EXPECT_FALSE(file->HasSection("Configuration"));
        EXPECT_FALSE(file->Write("Configuration", "Language", "EN"));
        EXPECT_EQ(file->WriteFailure(), reason);
    }
    EXPECT_TRUE(fs::is_directory(directory));
    EXPECT_TRUE(fs::is_fifo(fifo));

    WriteBytes(folder / "database.ini", UserFile);
    EXPECT_EQ(ProfileFile(folder / "database.ini").ReadFailure(), "");
    EXPECT_EQ(ProfileFile(folder / "missing.ini").ReadFailure(), "");
}

// Fixed fault: opening a FIFO for reading waited for a writer, so a FIFO
// named database.ini held the program at start-up and again at its end.
TEST(ProfileFileFailure, FifoReadsAsEmptyWithoutWaitingAndIsNotReplaced) {
    ScratchFolder folder;
    const fs::path path = folder / "database.ini";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ProfileFile file(path);
    EXPECT_EQ(file.Text().Bytes(), "");
    EXPECT_FALSE(file.Write("Configuration", "Language", "EN"));
    EXPECT_TRUE(fs::is_fifo(path));
}

// Fixed fault: the rename needs only the folder's permission, so a read-only
// file used to be replaced all the same.
TEST(ProfileFileFailure, ReadOnlyFileIsNotReplacedEvenByTheSuperuser) {
    ScratchFolder folder;
    const fs::path path = folder / "database.ini";
    WriteBytes(path, UserFile);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const FileIdentity before = IdentityOf(path);
    ProfileFile file(path);
    EXPECT_FALSE(file.Write("Configuration", "Language", "EN"));
    EXPECT_EQ(file.WriteFailure(), "Permission denied");
    EXPECT_EQ(ReadBytes(path), UserFile);
    EXPECT_EQ(IdentityOf(path), before);
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(ProfileFileFailure, ReadOnlyFolderFailsTheWriteForAnOrdinaryUser) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    ScratchFolder folder;
    const fs::path path = folder / "database.ini";
    WriteBytes(path, UserFile);
    ProfileFile file(path);
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(file.Write("Configuration", "Language", "EN"));
    EXPECT_EQ(file.WriteFailure(), "Permission denied");
    EXPECT_EQ(ReadBytes(path), UserFile);
}

TEST(ProfileFileFailure, TextThatWouldInjectLinesIsRefused) {
    ScratchFolder folder;
    const fs::path path = folder / "database.ini";
    WriteBytes(path, UserFile);
    ProfileFile file(path);
    EXPECT_FALSE(file.Write("Configuration", "Language", "EN\r\n[0000]\r\nAddress=0x"));
    EXPECT_EQ(ReadBytes(path), UserFile);
}
