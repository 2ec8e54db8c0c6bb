#pragma once
// The one serial port of the session: lists the port names, opens one port at
// 38400 8N1 with DTR and RTS on and no flow control, and moves bytes over a
// line that echoes everything the tool sends.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "serial/ByteLink.h"
#include "serial/MessageSink.h"

struct termios;

class SerialPort : public ByteLink {
public:
    static constexpr unsigned BaudRate = 38400;

    // Closed port. Port names resolve against `base` (see PortNamespace.h).
    explicit SerialPort(MessageSink& sink,
                        std::filesystem::path base = std::filesystem::current_path());
    ~SerialPort() override;  // closes
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Fills PortNames from the port namespace of the base folder.
    void ListPorts();
    const std::vector<std::string>& PortNames() const { return portNames_; }

    // Opens the port of that name exclusively with the fixed line settings.
    // Does nothing when a port is already open; success shows in IsOpen.
    void Open(const std::string& name);
    // Purges and closes; does nothing on a closed port.
    void Close();
    bool IsOpen() const { return isOpen_; }
    // The device went away while open (an unplugged adapter): every transfer
    // fails at once until the port is closed and opened again.
    bool IsHungUp() const { return isOpen_ && hungUp_; }
    // The device behind the open port; empty when closed.
    const std::string& Device() const { return device_; }

    void Purge() override;
    std::optional<std::uint8_t> ReadByte() override;
    std::size_t Read(std::uint8_t* buffer, std::size_t n) override;
    std::size_t Write(std::uint8_t* buffer, std::size_t n) override;

private:
    // Steps of Open; each shows its own message when it fails.
    void GetLineState();
    void SetLineState();
    bool SetReadTiming();
    // Clears the tty's exclusive mode, but only when this port set it.
    void DropExclusiveMode();
    void ReleaseHandle();

    // Takes what is waiting, up to n bytes, without waiting.
    std::size_t TakeWaiting(std::uint8_t* buffer, std::size_t n);
    // Waits up to 110 ms for the first byte, then takes what is there.
    std::size_t TakeFirstArrival(std::uint8_t* buffer, std::size_t n);
    bool CanTransfer() const { return isOpen_ && !hungUp_; }

    MessageSink& sink_;
    std::filesystem::path base_;
    std::vector<std::string> portNames_;
    bool isOpen_ = false;
    int handle_ = -1;
    std::string device_;
    // Set when the device went away; every transfer then fails at once until
    // the port is closed and opened again.
    bool hungUp_ = false;
    // This port put the tty into exclusive mode and so owes it the release.
    bool setExclusive_ = false;
    // Kept between opens: a failed read of the line state leaves the previous
    // port's settings here.
    std::unique_ptr<termios> lineSettings_;
};
