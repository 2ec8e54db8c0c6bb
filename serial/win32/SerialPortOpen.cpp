// Opening, configuring and closing the port on a Windows serial device.

#include <string>
#include <system_error>

#include "serial/win32/SerialPortPlatform.h"

SerialPort::SerialPort(std::filesystem::path base)
    : base_(std::move(base)), platform_(std::make_unique<Platform>()) {}

SerialPort::~SerialPort() {
    Close();
}

namespace {

// The system's words for an error, without the full stop and line end it
// ends them with.
std::string SystemReason(DWORD error) {
    std::string reason = std::system_category().message(static_cast<int>(error));
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    return reason;
}

}  // namespace

bool SerialPort::HoldsDevice() const {
    return platform_->Handle != INVALID_HANDLE_VALUE;
}

OpenOutcome SerialPort::AcquireDevice(const std::string& path, std::string& reason) {
    // No sharing: a second open of the device, by any program, is refused.
    const HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        switch (error) {
            case ERROR_ACCESS_DENIED:
            case ERROR_SHARING_VIOLATION:
                return OpenOutcome::InUse;
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
                return OpenOutcome::NoSuchPort;
            default:
                reason = SystemReason(error);
                return OpenOutcome::CannotOpen;
        }
    }
    // The device namespace also holds disks and volumes; frames must never go
    // to one of those. A serial port is a character device.
    if (::GetFileType(handle) != FILE_TYPE_CHAR) {
        ::CloseHandle(handle);
        reason = "not a serial device";
        return OpenOutcome::CannotOpen;
    }
    platform_->Handle = handle;
    return OpenOutcome::Opened;
}

bool SerialPort::GetLineState() {
    Platform& p = *platform_;
    if (::GetCommState(p.Handle, &p.LineSettings)) {
        p.FoundSettings = p.LineSettings;
        p.OwesFoundSettings = true;
        return true;
    }
    return false;
}

bool SerialPort::SetLineState() {
    ApplyLineSettings(platform_->LineSettings);
    const bool ok = ::SetCommState(platform_->Handle, &platform_->LineSettings);
    return ok;
}

SerialPort::TimingStep SerialPort::SetReadTiming() {
    Platform& p = *platform_;
    if (!::GetCommTimeouts(p.Handle, &p.Timeouts)) {
        ReleaseHandle();
        return TimingStep::NotRetrieved;
    }
    p.Timeouts = PortTimeouts(FirstByteWaitMs);
    if (!::SetCommTimeouts(p.Handle, &p.Timeouts)) {
        ReleaseHandle();
        return TimingStep::NotModified;
    }
    p.ReadWaitMs = FirstByteWaitMs;
    return TimingStep::Set;
}

// A device left at 38400 8N1 would garble whatever uses it next with other
// settings (a modem, a terminal program). A device that is gone refuses; so be it.
void SerialPort::RestoreFoundSettings() {
    Platform& p = *platform_;
    if (p.OwesFoundSettings) ::SetCommState(p.Handle, &p.FoundSettings);
    p.OwesFoundSettings = false;
}

bool SerialPort::ReleaseHandle() {
    RestoreFoundSettings();
    const bool closed = ::CloseHandle(platform_->Handle);
    platform_->Handle = INVALID_HANDLE_VALUE;
    return closed;
}

void SerialPort::Purge() {
    Platform& p = *platform_;
    if (p.Handle == INVALID_HANDLE_VALUE) return;
    ::PurgeComm(p.Handle, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    ::ClearCommError(p.Handle, &p.LastErrors, &p.LastStatus);
}
