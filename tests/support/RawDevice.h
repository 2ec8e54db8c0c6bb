#pragma once
// A plain raw descriptor on a tty device, for tests that talk to the simulator
// byte by byte without the tool's serial port.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/RequestFrame.h"

class RawDevice {
public:
    using Bytes = std::vector<std::uint8_t>;

    explicit RawDevice(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (fd_ < 0) return;
        termios settings{};
        ::tcgetattr(fd_, &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(fd_, TCSANOW, &settings);
    }
    ~RawDevice() { Close(); }
    RawDevice(const RawDevice&) = delete;
    RawDevice& operator=(const RawDevice&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    // True once a read met the end of the line (EOF or EIO).
    bool HungUp() const { return hungUp_; }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    void Write(const Bytes& bytes) {
        [[maybe_unused]] auto n = ::write(fd_, bytes.data(), bytes.size());
    }
    void Write(const RequestFrame& frame) { Write(Bytes(frame.Bytes.begin(), frame.Bytes.end())); }

    // Reads until n bytes came, the line ended or `timeout` passed; returns what came.
    Bytes Read(std::size_t n, std::chrono::milliseconds timeout = std::chrono::milliseconds(1000)) {
        Bytes got;
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (got.size() < n && !hungUp_) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() < 0 || ::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) break;
            std::uint8_t buffer[256];
            std::size_t want = std::min(sizeof buffer, n - got.size());
            ssize_t r = ::read(fd_, buffer, want);
            if (r > 0) {
                got.insert(got.end(), buffer, buffer + r);
            } else if (r == 0 || (r < 0 && errno != EAGAIN && errno != EINTR)) {
                hungUp_ = true;
            }
        }
        return got;
    }

    // Everything that arrives within `window` (to show that nothing more comes).
    Bytes Drain(std::chrono::milliseconds window) { return Read(4096, window); }

    // Sends the frame and reads its echo and a reply of replyLength bytes.
    Bytes Exchange(const RequestFrame& frame, std::size_t replyLength) {
        Write(frame);
        return Read(FrameSize + replyLength);
    }

private:
    int fd_ = -1;
    bool hungUp_ = false;
};
