#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace {

FileRead Failure(int error) {
    return {error == ENOENT ? FileReadOutcome::Missing : FileReadOutcome::Failed,
            std::generic_category().message(error)};
}

}  // namespace

FileRead ReadRegularFileInPieces(const std::filesystem::path& path, std::uint64_t most,
                                 const std::function<bool(std::string_view)>& take) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return Failure(errno);
    FileRead result{FileReadOutcome::Read, ""};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result = Failure(errno);
    } else if (S_ISDIR(info.st_mode)) {
        result = Failure(EISDIR);
    } else if (!S_ISREG(info.st_mode)) {
        result = {FileReadOutcome::Failed, "not a regular file"};
    } else {
        result.Size = static_cast<std::uint64_t>(info.st_size);
        if (result.Size > most) result.Outcome = FileReadOutcome::TooLarge;
        char buffer[65536];
        while (result.Outcome == FileReadOutcome::Read) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0) {
                if (!take(std::string_view(buffer, static_cast<std::size_t>(got)))) break;
            } else if (got == 0) {
                break;
            } else if (errno != EINTR) {
                result = Failure(errno);
            }
        }
    }
    ::close(fd);
    return result;
}
