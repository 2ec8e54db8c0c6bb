#include "platform/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <random>
#include <string>
#include <system_error>

namespace {

// False with the reason of the call that failed, as the system words it.
bool Failed(std::string& reason, int error = errno) {
    reason = std::generic_category().message(error);
    return false;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::filesystem::path FolderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// A new file beside target holding bytes, on the disk; `prepare` may set it
// up before it is synced. Its path, or an empty one with the error.
std::filesystem::path WriteBeside(const std::filesystem::path& target, std::string_view bytes,
                                  const std::function<bool(int)>& prepare, int& error) {
    std::random_device random;
    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary =
            FolderOf(target) / ("." + target.filename().string() + "." + std::to_string(random()));
        // A new file gets the usual mode less the umask, as any created file would.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            error = errno;
            return {};
        }
    }
    if (fd < 0) {
        error = EEXIST;
        return {};
    }
    bool ok = WriteAll(fd, bytes) && (!prepare || prepare(fd)) && ::fsync(fd) == 0;
    error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return {};
    }
    return temporary;
}

// A rename or a new name reaches the disk with its folder.
void SyncFolderOf(const std::filesystem::path& target) {
    const int folderFd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
}

}  // namespace

// A temporary file in the same folder takes the old file's permissions and
// owner, reaches the disk, and is renamed over it.
bool ReplaceWholeFile(const std::filesystem::path& target, std::string_view bytes,
                      std::string& reason) {
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (!existed && errno != ENOENT) return Failed(reason);
    // Only a regular file is replaced; a rename over a FIFO or a device would
    // take its name away from whatever uses it.
    if (existed && S_ISDIR(old.st_mode)) return Failed(reason, EISDIR);
    if (existed && !S_ISREG(old.st_mode)) {
        reason = "not a regular file";
        return false;
    }
    // The rename needs only the folder's permission; a file that may not be
    // written must stay as it is. A file with no write bit at all counts as
    // read-only for every user, the superuser too, as a read-only flag would.
    if (existed && (old.st_mode & 0222) == 0) return Failed(reason, EACCES);
    if (existed && ::access(target.c_str(), W_OK) != 0) return Failed(reason);

    const auto keepModeAndOwner = [&](int fd) {
        if (!existed) return true;
        if (::fchmod(fd, old.st_mode & 07777) != 0) return false;
        // The new file must keep the old one's owner; a writer who cannot give
        // it that owner must not hand the file to itself.
        return (old.st_uid == ::geteuid() && old.st_gid == ::getegid()) ||
               ::fchown(fd, old.st_uid, old.st_gid) == 0;
    };
    int error = 0;
    const std::filesystem::path temporary = WriteBeside(target, bytes, keepModeAndOwner, error);
    if (temporary.empty()) return Failed(reason, error);
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        return Failed(reason, error);
    }
    SyncFolderOf(target);
    return true;
}

// A second name for the written file, which link() gives only while it is
// free, then the temporary name goes.
bool PlaceNewFile(const std::filesystem::path& target, std::string_view bytes,
                  std::string& reason) {
    int error = 0;
    const std::filesystem::path temporary = WriteBeside(target, bytes, nullptr, error);
    if (temporary.empty()) return Failed(reason, error);
    const bool placed = ::link(temporary.c_str(), target.c_str()) == 0;
    error = errno;
    ::unlink(temporary.c_str());
    if (!placed) return Failed(reason, error);
    SyncFolderOf(target);
    return true;
}
