#include "window/UserFolder.h"

#include <stdexcept>
#include <string>
#include <system_error>

#include "database/ProfileText.h"
#include "platform/FileReplacement.h"
#include "platform/RegularFile.h"
#include "platform/UserPlaces.h"
#include "text/PathText.h"

namespace {

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path,
                       const std::string& failure, const std::string& reason) {
    throw std::runtime_error(what + PrintablePath(path) + " cannot be " + failure + ": " + reason +
                             ".");
}

// Anything by that name, a dangling symbolic link too.
bool Taken(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

// The sample with the user's language, every other byte (cp1251 texts, line
// ends) as it is.
std::string FirstDefinitions(const UserFolderPlaces& places) {
    std::string bytes;
    const FileRead read = ReadRegularFile(places.Sample, bytes);
    if (read.Outcome != FileReadOutcome::Read)
        Fail("The sample definition file ", places.Sample, "read", read.Reason);
    ProfileText text(std::move(bytes));
    text.Set("Configuration", "Language", places.Russian ? "RU" : "EN");
    return text.Bytes();
}

}  // namespace

UserFolderPlaces UserFolderPlacesOfThisUser() {
    return {UserDataFolder(), SampleDefinitionFile(), UserReadsRussian()};
}

void EnterUserFolder(const UserFolderPlaces& places) {
    std::error_code error;
    std::filesystem::create_directories(places.Folder, error);
    if (error) Fail("The working folder ", places.Folder, "made", error.message());

    const std::filesystem::path definitions = places.Folder / "database.ini";
    if (!Taken(definitions)) {
        std::string reason;
        // Put there meanwhile by someone else, it is theirs and stays.
        if (!PlaceNewFile(definitions, FirstDefinitions(places), reason) && !Taken(definitions))
            Fail("The definition file ", definitions, "made", reason);
    }
    if (std::filesystem::is_directory(definitions, error))
        Fail("The definition file ", definitions, "read", "Is a directory");

    std::filesystem::current_path(places.Folder, error);
    if (error) Fail("The working folder ", places.Folder, "entered", error.message());
}
