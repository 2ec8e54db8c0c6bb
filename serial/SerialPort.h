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

// How the last Open went, for front ends that say why a port is not usable.
enum class OpenOutcome {
    Opened,
    AlreadyOpen,    // another device was open; nothing changed
    NoSuchPort,     // the name stands for no device, or the device is not there
    InUse,          // another program holds the device
    CannotOpen,     // the device refused to open (permissions, a driver error)
    NotConfigured,  // it opened, but its read timing could not be set
};

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
    // Does nothing when a port is already open; success shows in IsOpen, the
    // reason of a failure in LastOpen.
    void Open(const std::string& name);
    OpenOutcome LastOpen() const { return lastOpen_; }
    // Purges, gives the device back the line settings it had before Open (as
    // far as it takes them; never an error) and closes; does nothing on a
    // closed port.
    void Close();
    bool IsOpen() const { return isOpen_; }
    // The device went away while open (an unplugged adapter): every transfer
    // fails at once until the port is closed and opened again.
    bool IsHungUp() const { return isOpen_ && hungUp_; }
    // The device behind the open port; empty when closed or lost.
    const std::string& Device() const { return device_; }
    // The name the open port was opened by; empty when closed.
    const std::string& Name() const { return name_; }

    // For a port whose device went away: resolves its name again (a replugged
    // adapter often comes back as another device) and opens what it now stands
    // for, without message boxes. True when that worked; the port then uses the
    // new device. Otherwise the port stays open and hung up, so that Close and
    // the next attempt still work.
    bool Reopen();
    // Lets go of the device (its line settings restored) but keeps the port
    // counted as open and hung up, for a reopened device that did not answer.
    void LetGoOfDevice();

    void Purge() override;
    std::optional<std::uint8_t> ReadByte() override;
    std::size_t Read(std::uint8_t* buffer, std::size_t n) override;
    std::size_t Write(std::uint8_t* buffer, std::size_t n) override;

private:
    // The device's side of the port: a descriptor with its termios records on
    // POSIX systems, a handle with its DCB on Windows. It is defined with each
    // platform's sources, so this header is the same everywhere and nothing
    // that includes it learns which platform it runs on.
    struct Platform;

    // The steps of Open. Each step shows its own message when it fails,
    // unless quiet (a reopen in the background must not raise boxes).
    OpenOutcome OpenDevice(const std::string& name, bool quiet);
    // Opens the device at path exclusively; Opened when the port now holds it.
    OpenOutcome AcquireDevice(const std::string& path);
    bool GetLineState(bool quiet);
    bool SetLineState(bool quiet);
    bool SetReadTiming(bool quiet);
    // Puts back the line settings the device had when it was opened.
    void RestoreFoundSettings();
    // Restores what can be restored and lets go of the device, whatever fails.
    // False when the system reported a failure of the close itself.
    bool ReleaseHandle();
    bool HoldsDevice() const;

    // Helpers of the platform's transfers.
    // Takes what is waiting, up to n bytes, without waiting.
    std::size_t TakeWaiting(std::uint8_t* buffer, std::size_t n);
    // Waits up to 110 ms for the first byte, then takes what is there.
    std::size_t TakeFirstArrival(std::uint8_t* buffer, std::size_t n);
    bool CanTransfer() const { return isOpen_ && !hungUp_; }

    MessageSink& sink_;
    std::filesystem::path base_;
    std::vector<std::string> portNames_;
    bool isOpen_ = false;
    std::string device_;
    std::string name_;
    OpenOutcome lastOpen_ = OpenOutcome::NoSuchPort;
    // Set when the device went away; every transfer then fails at once until
    // the port is closed and opened again.
    bool hungUp_ = false;
    std::unique_ptr<Platform> platform_;
};
