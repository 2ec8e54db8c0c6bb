// The working folder of the user's own that the menu's window starts in: its
// first start with a copy of the sample in the user's language, a user's own
// database.ini that stays as it is, and each failure said with its path and
// reason. Runs natively and under Wine.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/FileReplacement.h"
#include "platform/UserPlaces.h"
#include "support/ScratchFolder.h"
#include "text/PathText.h"
#include "window/UserFolder.h"

#ifndef _WIN32
#include "support/FileSizeLimit.h"
#endif

namespace {

// The sample as the program ships it: cp1251 texts, Windows line ends.
constexpr const char* Sample =
    "; sample\r\n[Configuration]\r\nLanguage=RU\r\n\r\n[0000]\r\nCodeEn=NMOT\r\n"
    "NameRu=\xCE\xE1\xEE\xF0\xEE\xF2\xFB\r\nLanguage=RU\r\n";

// Gives the test's process its current folder back.
class CurrentFolderGuard {
public:
    CurrentFolderGuard() : before_(std::filesystem::current_path()) {}
    ~CurrentFolderGuard() { std::filesystem::current_path(before_); }
    const std::filesystem::path& Before() const { return before_; }

private:
    std::filesystem::path before_;
};

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

// The text EnterUserFolder throws, or nothing when it did not.
std::optional<std::string> FailureOf(const UserFolderPlaces& places) {
    try {
        EnterUserFolder(places);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return std::nullopt;
}

// --- The first start ---

TEST(UserFolder, FirstStartMakesTheFolderWithTheSampleInTheUsersLanguage) {
    struct Case {
        bool Russian;
        const char* SampleLanguage;  // the sample's own line
        const char* Copied;          // the copy's
    };
    for (const Case& c :
         {Case{false, "Language=RU", "Language=EN"}, Case{true, "Language=EN", "Language=RU"}}) {
        SCOPED_TRACE(c.Copied);
        ScratchFolder scratch;
        const CurrentFolderGuard current;
        std::string sample = Sample;
        sample.replace(sample.find("Language=RU"), 11, c.SampleLanguage);
        WriteBytes(scratch / "database.ini", sample);
        // Folders above the working folder may be missing too (a fresh profile).
        const auto folder = scratch.Path() / "local" / "share" / "vmxdiag";

        EnterUserFolder({folder, scratch / "database.ini", c.Russian});

        std::string expected = Sample;
        expected.replace(expected.find("Language=RU"), 11, c.Copied);
        EXPECT_EQ(ReadBytes(folder / "database.ini"), expected);
        EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"database.ini"})
            << "a temporary file was left";
        EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), folder));
        EXPECT_EQ(ReadBytes(scratch / "database.ini"), sample) << "the sample changed";
    }
}

// --- The user's own definitions ---

TEST(UserFolder, TheUsersOwnDatabaseIniStaysAsItIs) {
    ScratchFolder scratch;
    const CurrentFolderGuard current;
    WriteBytes(scratch / "sample.ini", Sample);
    const auto folder = scratch / "vmxdiag";
    std::filesystem::create_directory(folder);
    const std::string own = "[Configuration]\nLanguage=DE\n[0000]\nCodeEn=REAL\n";
    WriteBytes(folder / "database.ini", own);
    const FileIdentity before = IdentityOf(folder / "database.ini");

    EnterUserFolder({folder, scratch / "sample.ini", false});
    EXPECT_EQ(ReadBytes(folder / "database.ini"), own);
    EXPECT_EQ(IdentityOf(folder / "database.ini"), before) << "rewritten";
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), folder));

    // Nor does a later start need the sample any more.
    std::filesystem::current_path(current.Before());
    EnterUserFolder({folder, scratch / "gone.ini", true});
    EXPECT_EQ(ReadBytes(folder / "database.ini"), own);

#ifndef _WIN32
    // A link the user made, even one whose file is not there (yet), is theirs.
    const auto linked = scratch / "linked";
    std::filesystem::create_directory(linked);
    std::filesystem::create_symlink(scratch / "elsewhere.ini", linked / "database.ini");
    EnterUserFolder({linked, scratch / "sample.ini", true});
    EXPECT_TRUE(std::filesystem::is_symlink(linked / "database.ini"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "elsewhere.ini"));
#endif
}

// Someone else's file that came between the look and the copy stays theirs.
TEST(UserFolder, TheCopyNeverTakesTheNameOfAFileThatCameMeanwhile) {
    ScratchFolder scratch;
    WriteBytes(scratch / "database.ini", "theirs");
    std::string reason;
    EXPECT_FALSE(PlaceNewFile(scratch / "database.ini", "the copy", reason));
    EXPECT_EQ(reason, "File exists");
    EXPECT_EQ(ReadBytes(scratch / "database.ini"), "theirs");
    EXPECT_EQ(NamesIn(scratch.Path()), std::vector<std::string>{"database.ini"});

    EXPECT_TRUE(PlaceNewFile(scratch / "new.ini", "the copy", reason));
    EXPECT_EQ(ReadBytes(scratch / "new.ini"), "the copy");
}

// --- Failures: one text with the path and the reason, the current folder kept ---

TEST(UserFolder, EachFailureNamesThePathAndTheReasonAndStaysInTheCurrentFolder) {
    ScratchFolder scratch;
    const CurrentFolderGuard current;
    WriteBytes(scratch / "sample.ini", Sample);
    WriteBytes(scratch / "a-file", "");
    std::filesystem::create_directories(scratch / "folder-ini" / "database.ini");
    std::filesystem::create_directory(scratch / "sample-folder");
    const auto path = [&](const std::filesystem::path& p) { return PrintablePath(p); };

    struct Case {
        const char* Name;
        UserFolderPlaces Places;
        std::string Text;  // the whole text, or its start when the reason is the system's own
        bool Whole;
    };
    const auto underFile = scratch / "a-file" / "vmxdiag";
    const auto missing = scratch / "missing.ini";
    const Case cases[] = {
        {"folder under a file",
         {underFile, scratch / "sample.ini", false},
         "The working folder " + path(underFile) + " cannot be made: ",
         false},
        {"no sample",
         {scratch / "fresh", missing, false},
         "The sample definition file " + path(missing) +
             " cannot be read: No such file or directory.",
         true},
        {"sample is a folder",
         {scratch / "fresh2", scratch / "sample-folder", false},
         "The sample definition file " + path(scratch / "sample-folder") +
             " cannot be read: Is a directory.",
         true},
        {"database.ini is a folder",
         {scratch / "folder-ini", scratch / "sample.ini", false},
         "The definition file " + path(scratch / "folder-ini" / "database.ini") +
             " cannot be read: Is a directory.",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::optional<std::string> failure = FailureOf(c.Places);
        ASSERT_TRUE(failure.has_value());
        if (c.Whole) {
            EXPECT_EQ(*failure, c.Text);
        } else {
            EXPECT_EQ(failure->substr(0, c.Text.size()), c.Text);
            EXPECT_GT(failure->size(), c.Text.size() + 1) << "no reason";
        }
        EXPECT_EQ(std::filesystem::current_path(), current.Before());
        EXPECT_FALSE(std::filesystem::is_regular_file(c.Places.Folder / "database.ini"));
    }
    EXPECT_TRUE(std::filesystem::is_empty(scratch / "fresh")) << "something of a copy was left";
}

#ifndef _WIN32
// A disk that fills during the copy: no database.ini cut short, nothing left beside.
TEST(UserFolder, ACopyCutShortNeverBecomesTheDefinitionFile) {
    ScratchFolder scratch;
    const CurrentFolderGuard current;
    WriteBytes(scratch / "sample.ini", Sample);
    std::filesystem::create_directory(scratch / "vmxdiag");
    std::optional<std::string> failure;
    {
        const FileSizeLimit full(20);
        failure = FailureOf({scratch / "vmxdiag", scratch / "sample.ini", false});
    }
    EXPECT_EQ(failure, "The definition file " +
                           PrintablePath(scratch / "vmxdiag" / "database.ini") +
                           " cannot be made: File too large.");
    EXPECT_TRUE(std::filesystem::is_empty(scratch / "vmxdiag"));
    EXPECT_EQ(std::filesystem::current_path(), current.Before());
}

// --- Where the user's folder is and what the user reads, as the session says ---

// Sets or unsets environment variables for one scope.
class EnvironmentGuard {
public:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvironmentGuard() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second)
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                ::unsetenv(it->first.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(UserPlaces, TheDataFolderIsAnAbsoluteXdgDataHomeOrElseTheHomes) {
    struct Case {
        const char* DataHome;
        const char* Expected;
    };
    for (const Case& c : {Case{"/data/me", "/data/me/vmxdiag"},
                          Case{"relative/data", "/home/me/.local/share/vmxdiag"},
                          Case{"", "/home/me/.local/share/vmxdiag"},
                          Case{nullptr, "/home/me/.local/share/vmxdiag"}}) {
        SCOPED_TRACE(c.DataHome ? c.DataHome : "(unset)");
        EnvironmentGuard environment;
        environment.Set("HOME", "/home/me");
        environment.Set("XDG_DATA_HOME", c.DataHome);
        EXPECT_EQ(UserDataFolder(), c.Expected);
    }
}

TEST(UserPlaces, TheUserReadsRussianWhenTheFirstLocaleSetSaysSo) {
    struct Case {
        const char* All;
        const char* Messages;
        const char* Lang;
        bool Russian;
    };
    for (const Case& c : {Case{"ru_RU.UTF-8", nullptr, nullptr, true},
                          Case{"", "ru_RU.CP1251", "en_GB.UTF-8", true},
                          Case{nullptr, nullptr, "ru_UA.UTF-8", true},
                          Case{"en_US.UTF-8", "ru_RU.UTF-8", "ru_RU.UTF-8", false},
                          Case{"C", nullptr, "ru_RU.UTF-8", false}, Case{nullptr, "", "", false}}) {
        SCOPED_TRACE(std::string(c.All ? c.All : "-") + " " + (c.Messages ? c.Messages : "-") +
                     " " + (c.Lang ? c.Lang : "-"));
        EnvironmentGuard environment;
        environment.Set("LC_ALL", c.All);
        environment.Set("LC_MESSAGES", c.Messages);
        environment.Set("LANG", c.Lang);
        EXPECT_EQ(UserReadsRussian(), c.Russian);
    }
}
#else
TEST(UserPlaces, TheDataFolderIsInTheUsersLocalApplicationData) {
    const char* local = std::getenv("LOCALAPPDATA");
    ASSERT_NE(local, nullptr);
    EXPECT_TRUE(std::filesystem::equivalent(UserDataFolder().parent_path(), local));
    EXPECT_EQ(UserDataFolder().filename(), "vmxdiag");
}
#endif

}  // namespace
