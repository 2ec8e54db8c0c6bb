#include "platform/StandardStreams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

bool KeepStandardStreamsOpen() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free number is taken, which is this one: the ones below are open.
        const int filler = ::open("/dev/null", O_RDWR);
        if (filler < 0) return false;
        if (filler == fd) continue;
        const bool moved = ::dup2(filler, fd) == fd;
        ::close(filler);
        if (!moved) return false;
    }
    return true;
}
