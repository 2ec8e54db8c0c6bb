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

#include "serial/PortLink.h"

class SerialPort : public PortLink {
public:
    static constexpr unsigned BaudRate = 38400;

    // Closed port. Port names resolve against `base` (see PortNamespace.h).
    explicit SerialPort(std::filesystem::path base = std::filesystem::current_path());
    ~SerialPort() override;  // closes, silently
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // --- PortLink (see PortLink.h) ---
    // The names of the port namespace of the base folder.
    void ListPorts() override;
    const std::vector<std::string>& PortNames() const override { return portNames_; }
    // Opens exclusively, with the fixed line settings.
    OpenResult Open(const std::string& name) override;
    // Purges, gives the device back the line settings it had before Open (as
    // far as it takes them; never an error) and closes.
    bool Close() override;
    bool IsOpen() const override { return isOpen_; }
    bool IsHungUp() const override { return isOpen_ && hungUp_; }
    const std::string& Name() const override { return name_; }
    const std::string& Device() const override { return device_; }
    // Resolves the name again (a replugged adapter often comes back as another
    // device) and opens what it now stands for; the port then uses the new
    // device.
    bool Reopen() override;
    // Restores the device's line settings as it lets go of it.
    void LetGoOfDevice() override;

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

    // What the last step of the read timing reached.
    enum class TimingStep { Set, NotRetrieved, NotModified };

    // The steps of Open, each with its outcome; OpenDevice words the failures.
    // A strict open (a reopen in the background) takes only a device that
    // configures cleanly.
    OpenResult OpenDevice(const std::string& name, bool strict);
    // Opens the device at path exclusively; Opened when the port now holds it.
    // A refusal without an outcome of its own (CannotOpen) leaves the
    // system's words in `reason`.
    OpenOutcome AcquireDevice(const std::string& path, std::string& reason);
    bool GetLineState();
    bool SetLineState();
    // Releases the device when it fails.
    TimingStep SetReadTiming();
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

    std::filesystem::path base_;
    std::vector<std::string> portNames_;
    bool isOpen_ = false;
    std::string device_;
    std::string name_;
    // Set when the device went away; every transfer then fails at once until
    // the port is closed and opened again.
    bool hungUp_ = false;
    std::unique_ptr<Platform> platform_;
};
