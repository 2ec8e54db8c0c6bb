#pragma once
// A pseudo-terminal for tests: the slave is the device a SerialPort opens, the
// master plays the line and the ECU behind it.

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

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
