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

FileRead ReadRegularFile(const std::filesystem::path& path, std::string& bytes) {
    bytes.clear();
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
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0) {
                bytes.append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0) {
                break;
            } else if (errno != EINTR) {
                result = Failure(errno);
                break;
            }
        }
    }
    ::close(fd);
    if (result.Outcome != FileReadOutcome::Read) bytes.clear();
    return result;
}
