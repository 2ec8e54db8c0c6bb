#include "serial/posix/TtyWait.h"

#include <poll.h>

#include <cerrno>

namespace {

TtyWait WaitFor(int fd, short events, const Deadline& deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const timespec left = deadline.Remaining();
        const int ready = ::ppoll(&entry, 1, &left, nullptr);
        if (ready < 0) {
            if (errno == EINTR) continue;
            // A descriptor that poll() refuses will never become ready; waiting
            // on it again would only spin.
            return TtyWait::HungUp;
        }
        if (ready == 0) {
            if (deadline.Passed()) return TtyWait::TimedOut;
            continue;
        }
        // A hung-up tty reports POLLHUP together with POLLIN; it must not be
        // mistaken for data, or every later wait would return at once.
        if (entry.revents & (POLLHUP | POLLERR | POLLNVAL)) return TtyWait::HungUp;
        if (entry.revents & events) return TtyWait::Ready;
    }
}

}  // namespace

TtyWait WaitForInput(int fd, const Deadline& deadline) {
    return WaitFor(fd, POLLIN, deadline);
}

TtyWait WaitForOutput(int fd, const Deadline& deadline) {
    return WaitFor(fd, POLLOUT, deadline);
}
