#include "sim/posix/PseudoTerminal.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

[[noreturn]] void Fail(const char* call) {
    throw std::runtime_error(std::string("Pseudo-terminal: ") + call +
                             " failed: " + std::strerror(errno));
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
    master_ = FileDescriptor(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!master_.IsOpen()) Fail("posix_openpt");
    if (::grantpt(master_.Get()) != 0) Fail("grantpt");
    if (::unlockpt(master_.Get()) != 0) Fail("unlockpt");
    std::array<char, 128> name{};
    if (::ptsname_r(master_.Get(), name.data(), name.size()) != 0) Fail("ptsname_r");
    slavePath_ = name.data();

    heldSlave_ = FileDescriptor(::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!heldSlave_.IsOpen()) Fail("open of the slave");

    // A cooked slave would echo through the line discipline and rewrite CR/LF,
    // which the protocol's binary bytes cannot survive.
    termios settings{};
    if (::tcgetattr(heldSlave_.Get(), &settings) != 0) Fail("tcgetattr");
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B38400);
    ::cfsetospeed(&settings, B38400);
    if (::tcsetattr(heldSlave_.Get(), TCSANOW, &settings) != 0) Fail("tcsetattr");

    int flags = ::fcntl(master_.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(master_.Get(), F_SETFL, flags | O_NONBLOCK) != 0) Fail("fcntl");

    // Our own close of a descriptor never happens while serving, so every close
    // seen here is the tool's.
    closeWatch_ = FileDescriptor(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (closeWatch_.IsOpen() && ::inotify_add_watch(closeWatch_.Get(), slavePath_.c_str(),
                                                    IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        closeWatch_.Reset();
    }
}

void PseudoTerminal::OnSlaveClosed(bool liftExclusiveMark) {
    if (!closeWatch_.IsOpen()) return;
    std::array<char, 1024> events;
    while (::read(closeWatch_.Get(), events.data(), events.size()) > 0) {
    }
    // A real port forgets the tool's TIOCEXCL at its last close. Ours never has
    // a last close, because of the held descriptor, so without this the tool
    // could not reopen the device unless it runs privileged.
    if (liftExclusiveMark) LiftExclusiveMark();
}

void PseudoTerminal::LiftExclusiveMark() {
    if (heldSlave_.IsOpen()) ::ioctl(heldSlave_.Get(), TIOCNXCL);
}

bool PseudoTerminal::IsExclusive() const {
    int exclusive = 0;
    return heldSlave_.IsOpen() && ::ioctl(heldSlave_.Get(), TIOCGEXCL, &exclusive) == 0 &&
           exclusive != 0;
}

bool PseudoTerminal::HasUnreadInput() const {
    int waiting = 0;
    return master_.IsOpen() && ::ioctl(master_.Get(), FIONREAD, &waiting) == 0 && waiting > 0;
}

void PseudoTerminal::HangUp() {
    closeWatch_.Reset();
    heldSlave_.Reset();
    master_.Reset();
}
