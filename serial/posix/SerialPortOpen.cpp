// Opening, configuring and closing the port on a tty.

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "serial/posix/SerialPortPlatform.h"
#include "serial/posix/SystemSerialDevices.h"

static_assert(SerialPort::BaudRate == 38400, "the line settings below use B38400");

namespace {

// Line settings that must hold after the change; tcsetattr() succeeds when any
// part of a change took, so what the driver kept is read back and checked.
bool LineSettingsTook(const termios& applied) {
    return cfgetospeed(&applied) == B38400 && cfgetispeed(&applied) == B38400 &&
           (applied.c_cflag & CSIZE) == CS8 && !(applied.c_cflag & (PARENB | CSTOPB | CRTSCTS)) &&
           !(applied.c_iflag & (IXON | IXOFF)) && !(applied.c_lflag & (ICANON | ECHO | ISIG));
}

void AskForLowLatency(int fd) {
    serial_struct info{};
    if (::ioctl(fd, TIOCGSERIAL, &info) != 0 || (info.flags & ASYNC_LOW_LATENCY)) return;
    info.flags |= ASYNC_LOW_LATENCY;
    ::ioctl(fd, TIOCSSERIAL, &info);  // a driver that refuses keeps its timer; not an error
}

// Root is not stopped by TIOCEXCL, so another program's exclusive mode has to
// be looked for: opening its line anyway would put frames into its traffic.
bool HeldExclusivelyElsewhere(int fd) {
    int exclusive = 0;
    return ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

// The lock is what makes a second SerialPort on the same device fail, even as
// root. A file system without locks is no reason to refuse the device.
bool LockAgainstOtherPorts(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

}  // namespace

SerialPort::SerialPort(std::filesystem::path base)
    : base_(std::move(base)), platform_(std::make_unique<Platform>()) {}

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::HoldsDevice() const {
    return platform_->Handle >= 0;
}

OpenOutcome SerialPort::AcquireDevice(const std::string& device, std::string& reason) {
    // Non-blocking, so that a modem line waiting for carrier cannot hang the
    // open; it stays non-blocking and every wait is a poll with a deadline.
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == EBUSY) return OpenOutcome::InUse;  // another program's TIOCEXCL
        if (errno == ENOENT || errno == ENXIO || errno == ENODEV) return OpenOutcome::NoSuchPort;
        if (errno == EACCES || errno == EPERM) return OpenOutcome::PermissionDenied;
        reason = std::strerror(errno);  // a folder, a read-only file system, ...
        return OpenOutcome::CannotOpen;
    }
    if (HeldExclusivelyElsewhere(fd) || !LockAgainstOtherPorts(fd)) {
        ::close(fd);
        return OpenOutcome::InUse;
    }
    platform_->Handle = fd;
    // Not a tty: the line-state steps report it.
    platform_->SetExclusive = ::ioctl(fd, TIOCEXCL) == 0;
    // A USB adapter holds back short replies for its latency timer (up to 16
    // ms) unless asked not to. Built-in ports and pseudo-terminals need nothing.
    if (IsUsbSerialDevice(device)) AskForLowLatency(fd);
    return OpenOutcome::Opened;
}

bool SerialPort::GetLineState() {
    Platform& p = *platform_;
    if (::tcgetattr(p.Handle, &p.LineSettings) == 0) {
        p.FoundSettings = p.LineSettings;
        p.OwesFoundSettings = true;
        return true;
    }
    return false;
}

bool SerialPort::SetLineState() {
    const int handle = platform_->Handle;
    termios& line = platform_->LineSettings;
    line.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    line.c_oflag &= ~OPOST;
    line.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    line.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    cfsetispeed(&line, B38400);
    cfsetospeed(&line, B38400);

    bool ok = ::tcsetattr(handle, TCSANOW, &line) == 0;
    termios applied{};
    ok = ok && ::tcgetattr(handle, &applied) == 0 && LineSettingsTook(applied);
    // DTR and RTS on. A pseudo-terminal has no modem lines and says so; that
    // is no failure of the line settings.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(handle, TIOCMBIS, &lines) != 0 && errno != ENOTTY && errno != EINVAL) ok = false;
    return ok;
}

// The read timing: reads never block (O_NONBLOCK), and with VMIN 1 and VTIME 0
// a read of an empty queue answers EAGAIN while end of file means the device
// is gone. The waiting itself is done in poll() with the budgets of Read.
SerialPort::TimingStep SerialPort::SetReadTiming() {
    const int handle = platform_->Handle;
    termios timing{};
    const int flags = ::fcntl(handle, F_GETFL);
    if (::tcgetattr(handle, &timing) != 0 || flags < 0) {
        ReleaseHandle();
        return TimingStep::NotRetrieved;
    }
    timing.c_cc[VMIN] = 1;
    timing.c_cc[VTIME] = 0;
    termios applied{};
    if (::tcsetattr(handle, TCSANOW, &timing) != 0 ||
        ::fcntl(handle, F_SETFL, flags | O_NONBLOCK) != 0 || ::tcgetattr(handle, &applied) != 0 ||
        applied.c_cc[VMIN] != 1 || applied.c_cc[VTIME] != 0) {
        ReleaseHandle();
        return TimingStep::NotModified;
    }
    return TimingStep::Set;
}

void SerialPort::Platform::DropExclusiveMode() {
    if (SetExclusive) ::ioctl(Handle, TIOCNXCL);
    SetExclusive = false;
}

// A terminal left raw at 38400 would garble whatever uses the device next (a
// console on a USB adapter, a modem). A device that is gone refuses; so be it.
void SerialPort::RestoreFoundSettings() {
    Platform& p = *platform_;
    if (p.OwesFoundSettings) ::tcsetattr(p.Handle, TCSANOW, &p.FoundSettings);
    p.OwesFoundSettings = false;
}

bool SerialPort::ReleaseHandle() {
    RestoreFoundSettings();
    // Drop the exclusive mode before the close: it belongs to the tty and could
    // outlive this descriptor while the device stays open elsewhere.
    platform_->DropExclusiveMode();
    // Linux releases the descriptor even when close() reports an error (EINTR, EIO).
    const int result = ::close(platform_->Handle);
    platform_->Handle = -1;
    return result == 0;
}

void SerialPort::Purge() {
    if (platform_->Handle < 0) return;
    ::tcflush(platform_->Handle, TCIOFLUSH);
}
