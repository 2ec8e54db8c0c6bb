// database.ini on Windows: the whole-file replacement through a flushed
// temporary file and one rename, and what is refused as no regular file.

#include <windows.h>

#include <gtest/gtest.h>

#include "database/ProfileFile.h"
#include "support/ScratchFolder.h"

namespace {

DWORD Attributes(const std::filesystem::path& path) {
    return ::GetFileAttributesW(path.wstring().c_str());
}

}  // namespace

TEST(ProfileFileWindows, WriteReplacesTheFileWholeAndKeepsItsAttributes) {
    ScratchFolder folder;
    const auto path = folder / "database.ini";
    WriteBytes(path, "; kept\r\n[Configuration]\r\nLanguage=RU\r\n[0000]\r\nCodeEn=NMOT\r\n");
    ASSERT_TRUE(::SetFileAttributesW(path.wstring().c_str(), FILE_ATTRIBUTE_HIDDEN));
    const FileIdentity before = IdentityOf(path);

    ProfileFile file(path);
    ASSERT_TRUE(file.Write("Configuration", "Language", "EN"));
    EXPECT_EQ(ReadBytes(path),
              "; kept\r\n[Configuration]\r\nLanguage=EN\r\n[0000]\r\nCodeEn=NMOT\r\n");
    EXPECT_NE(IdentityOf(path).inode, before.inode) << "written in place";
    EXPECT_TRUE(Attributes(path) & FILE_ATTRIBUTE_HIDDEN);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);

    ASSERT_TRUE(ProfileFile(folder / "new.ini").Write("Configuration", "Language", "EN"));
    EXPECT_EQ(ReadBytes(folder / "new.ini"), "[Configuration]\r\nLanguage=EN\r\n");
}

TEST(ProfileFileWindows, ReadOnlyFileFolderAndDeviceAreNeitherReadNorReplaced) {
    ScratchFolder folder;
    const auto readOnly = folder / "readonly.ini";
    WriteBytes(readOnly, "[Configuration]\r\nLanguage=RU\r\n");
    ASSERT_TRUE(::SetFileAttributesW(readOnly.wstring().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(ProfileFile(readOnly).Write("Configuration", "Language", "EN"));
    EXPECT_EQ(ReadBytes(readOnly), "[Configuration]\r\nLanguage=RU\r\n");
    ::SetFileAttributesW(readOnly.wstring().c_str(), FILE_ATTRIBUTE_NORMAL);

    std::filesystem::create_directory(folder / "folder.ini");
    const ProfileFile asFolder(folder / "folder.ini");
    EXPECT_EQ(asFolder.ReadFailure(), "Is a directory");
    const ProfileFile device("NUL");
    EXPECT_EQ(device.ReadFailure(), "not a regular file");
    EXPECT_EQ(ProfileFile(folder / "missing.ini").ReadFailure(), "");
}
