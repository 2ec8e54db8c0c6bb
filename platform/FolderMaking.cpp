#include "platform/FolderMaking.h"

#include <system_error>

#include "text/PathText.h"

std::string MakeFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error) return {};
    std::error_code ignored;
    const auto there = std::filesystem::symlink_status(folder, ignored);
    if (std::filesystem::is_symlink(there)) {
        const std::filesystem::path target = std::filesystem::read_symlink(folder, ignored);
        const auto pointed = std::filesystem::status(folder, ignored);
        return "it is a link to " + PrintablePath(target) +
               (std::filesystem::exists(pointed) ? ", which is not a folder"
                                                 : ", which does not exist");
    }
    if (std::filesystem::exists(there) && !std::filesystem::is_directory(there))
        return "it is a file, not a folder";
    return error.message();
}
