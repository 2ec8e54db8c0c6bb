#pragma once
// A pseudo-terminal for tests: the slave is the device a SerialPort opens, the
// master plays the line and the ECU behind it.

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <sys/ioctl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

// The line settings of a tty as far as they matter to whoever uses it next.
struct LineSettings {
    tcflag_t Input = 0, Output = 0, Control = 0, Local = 0;
    std::array<cc_t, NCCS> Characters{};
    speed_t InSpeed = 0, OutSpeed = 0;
    bool operator==(const LineSettings&) const = default;
};

inline LineSettings LineSettingsOf(int fd) {
    termios line{};
    if (::tcgetattr(fd, &line) != 0) throw std::runtime_error("tcgetattr failed");
    LineSettings settings{line.c_iflag, line.c_oflag,         line.c_cflag,        line.c_lflag,
                          {},           ::cfgetispeed(&line), ::cfgetospeed(&line)};
    std::copy(std::begin(line.c_cc), std::end(line.c_cc), settings.Characters.begin());
    return settings;
}

class PtyPair {
public:
    PtyPair() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        device_ = name;
    }
    ~PtyPair() {
        HangUp();
        if (slave_ >= 0) ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& Device() const { return device_; }
    // The test's own descriptor of the slave, to look at the line settings.
    int Slave() const { return slave_; }
    LineSettings Settings() const { return LineSettingsOf(slave_); }

    // Waits until n bytes sent from the line wait in the device's input queue;
    // a pseudo-terminal hands them over some time after Send.
    bool WaitUntilQueued(std::size_t n,
                         std::chrono::milliseconds limit = std::chrono::seconds(10)) const {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            int queued = 0;
            if (::ioctl(slave_, TIOCINQ, &queued) == 0 && static_cast<std::size_t>(queued) >= n)
                return true;
            if (std::chrono::steady_clock::now() >= end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    void Send(const std::vector<std::uint8_t>& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t r = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (r <= 0) throw std::runtime_error("write to pty master failed");
            done += static_cast<std::size_t>(r);
        }
    }

    // What the port sent, up to n bytes, waiting at most `wait` for them.
    std::vector<std::uint8_t> Receive(std::size_t n, std::chrono::milliseconds wait) const {
        std::vector<std::uint8_t> got;
        const auto end = std::chrono::steady_clock::now() + wait;
        while (got.size() < n) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd entry{master_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) break;
            std::uint8_t byte[256];
            const ssize_t r = ::read(master_, byte, std::min(sizeof byte, n - got.size()));
            if (r <= 0) break;
            got.insert(got.end(), byte, byte + r);
        }
        return got;
    }

    // Closes the line's side, as an unplugged adapter does.
    void HangUp() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string device_;
};
