#include "platform/WritableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace {

FileCreate Failure(int error) {
    return {FileCreateOutcome::Failed, nullptr, std::generic_category().message(error)};
}

FileCreate Refusal(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return Failure(EISDIR);
    return {FileCreateOutcome::NotRegular, nullptr, {}};
}

}  // namespace

FileCreate CreateRegularFile(const std::filesystem::path& path, bool replace) {
    // What is there already is looked at before it is opened: opening a serial
    // port alone raises its modem lines.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) return Refusal(info);
        if (!replace) return {FileCreateOutcome::Exists, nullptr, {}};
    } else if (errno != ENOENT) {
        return Failure(errno);
    }
    // O_EXCL keeps a file made meanwhile; O_NONBLOCK makes a FIFO put there
    // meanwhile fail (ENXIO without a reader) instead of waiting for one.
    const int flags =
        O_WRONLY | O_CREAT | O_NOCTTY | O_NONBLOCK | O_CLOEXEC | (replace ? 0 : O_EXCL);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        if (errno == EEXIST) return {FileCreateOutcome::Exists, nullptr, {}};
        if (errno == ENXIO) return {FileCreateOutcome::NotRegular, nullptr, {}};
        return Failure(errno);
    }
    FileCreate result{FileCreateOutcome::Created, nullptr, {}};
    if (::fstat(fd, &info) != 0) {
        result = Failure(errno);
    } else if (!S_ISREG(info.st_mode)) {
        result = Refusal(info);
    } else if (replace && ::ftruncate(fd, 0) != 0) {
        result = Failure(errno);
    } else if (!(result.File = ::fdopen(fd, "wb"))) {
        result = Failure(errno);
    }
    if (!result.File) ::close(fd);
    return result;
}
