#include "platform/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

namespace {

// The reason of the call that failed, as the system words it.
FileReplace Failed(int error = errno) {
    return {false, std::generic_category().message(error)};
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

}  // namespace

// A temporary file in the same folder takes the old file's permissions and
// owner, reaches the disk, and is renamed over it.
FileReplace ReplaceWholeFile(const std::filesystem::path& target, std::string_view bytes) {
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (!existed && errno != ENOENT) return Failed();
    // Only a regular file is replaced; a rename over a FIFO or a device would
    // take its name away from whatever uses it.
    if (existed && S_ISDIR(old.st_mode)) return Failed(EISDIR);
    if (existed && !S_ISREG(old.st_mode)) return {false, "not a regular file"};
    // The rename needs only the folder's permission; a file that may not be
    // written must stay as it is. A file with no write bit at all counts as
    // read-only for every user, the superuser too, as a read-only flag would.
    if (existed && (old.st_mode & 0222) == 0) return Failed(EACCES);
    if (existed && ::access(target.c_str(), W_OK) != 0) return Failed();

    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::random_device random;
    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder / ("." + target.filename().string() + "." + std::to_string(random()));
        // A new file gets the usual mode less the umask, as any created file would.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return Failed();
    }
    if (fd < 0) return Failed(EEXIST);

    bool ok = WriteAll(fd, bytes);
    if (ok && existed) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
        // The new file must keep the old one's owner; a writer who cannot give
        // it that owner must not hand the file to itself.
        if (ok && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
            ok = ::fchown(fd, old.st_uid, old.st_gid) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return Failed(error);
    }
    // The rename itself reaches the disk with the folder.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {true, {}};
}
