#pragma once
// Named ports without a device, for the line object on every platform: each
// port has an ECU behind it that answers every frame at once, in process, as
// the simulator's ECU would (its EcuResponder), or none at all. The line
// echoes every byte of an open, live port. Some faults of SimFaults apply:
// NoEcho, Silent, Unanswered and FirstByte. Everything the tool sent is logged.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "serial/PortLink.h"
#include "sim/EcuResponder.h"
#include "sim/EcuState.h"

// What stands behind one port name.
struct ScriptedDevice {
    bool HasEcu = true;
    EcuResponder Ecu;
    SimFaults Faults;
    std::vector<RequestFrame> Received;
    bool Plugged = true;  // false: the name stands for nothing (any more)
    bool Held = false;    // a port has it open
    // The port's messages as it opens (its line state would not take), and a
    // close the system refuses (the device is let go of all the same).
    std::vector<std::string> OpenMessages;
    bool RefusesClose = false;
};

// The port names and their devices, shared by the tests and the port.
class ScriptedDevices {
public:
    // A port with an ECU behind it, or a silent line; listed in the order added.
    ScriptedDevice& AddEcu(const std::string& name) { return Add(name, true); }
    ScriptedDevice& AddSilentPort(const std::string& name) { return Add(name, false); }
    ScriptedDevice& At(const std::string& name) { return *devices_.at(name); }
    bool Has(const std::string& name) const { return devices_.contains(name); }
    const std::vector<std::string>& Names() const { return order_; }

    // The device goes away, as an unplugged adapter: an open port on it hangs
    // up. Replug puts a new device (with an ECU if the old one had one, and
    // an empty log) behind the name.
    void Unplug(const std::string& name) { At(name).Plugged = false; }
    ScriptedDevice& Replug(const std::string& name) {
        auto fresh = std::make_unique<ScriptedDevice>();
        fresh->HasEcu = At(name).HasEcu;
        gone_.push_back(std::move(devices_[name]));  // a port may still point at it
        devices_[name] = std::move(fresh);
        return At(name);
    }

private:
    ScriptedDevice& Add(const std::string& name, bool hasEcu) {
        if (!devices_.contains(name)) order_.push_back(name);
        devices_[name] = std::make_unique<ScriptedDevice>();
        devices_[name]->HasEcu = hasEcu;
        return *devices_[name];
    }

    std::map<std::string, std::unique_ptr<ScriptedDevice>> devices_;
    std::vector<std::unique_ptr<ScriptedDevice>> gone_;
    std::vector<std::string> order_;
};

class ScriptedPort : public PortLink {
public:
    explicit ScriptedPort(std::shared_ptr<ScriptedDevices> devices)
        : devices_(std::move(devices)) {}
    ~ScriptedPort() override { Close(); }

    // --- PortLink ---
    void ListPorts() override { names_ = devices_->Names(); }
    const std::vector<std::string>& PortNames() const override { return names_; }
    OpenResult Open(const std::string& name) override {
        if (device_) return {OpenOutcome::AlreadyOpen, {}, {}, {}};
        if (!devices_->Has(name) || !devices_->At(name).Plugged) return {};
        if (devices_->At(name).Held) return {OpenOutcome::InUse, {}, {}, {}};
        Take(devices_->At(name));
        name_ = name;
        return {OpenOutcome::Opened, device_->OpenMessages, {}, {}};
    }
    bool Close() override {
        const bool refused = device_ && device_->RefusesClose;
        if (device_) device_->Held = false;
        device_ = nullptr;
        name_.clear();
        return !refused;
    }
    bool IsOpen() const override { return device_ != nullptr; }
    bool IsHungUp() const override { return device_ && (letGo_ || !device_->Plugged); }
    const std::string& Name() const override { return name_; }
    const std::string& Device() const override { return IsOpen() && !IsHungUp() ? name_ : none_; }
    bool Reopen() override {
        if (!IsHungUp() || !devices_->At(name_).Plugged) return false;
        device_->Held = false;
        Take(devices_->At(name_));
        return true;
    }
    void LetGoOfDevice() override {
        device_->Held = false;
        letGo_ = true;
    }

    // --- ByteLink ---
    std::optional<std::uint8_t> ReadByte() override {
        if (waiting_.empty() || !Live()) return std::nullopt;
        const std::uint8_t byte = waiting_.front();
        waiting_.pop_front();
        return byte;
    }
    std::size_t Read(std::uint8_t* buffer, std::size_t n) override {
        if (!Live()) return 0;
        const std::size_t count = std::min(n, waiting_.size());
        std::copy_n(waiting_.begin(), count, buffer);
        waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(count));
        return count;
    }
    std::size_t Write(std::uint8_t* buffer, std::size_t n) override {
        if (!Live()) return 0;
        Answer(buffer, n);
        return Read(buffer, n);
    }
    void Purge() override { waiting_.clear(); }

private:
    void Take(ScriptedDevice& device) {
        device_ = &device;
        device_->Held = true;
        letGo_ = false;
        waiting_.clear();
    }
    bool Live() const { return IsOpen() && !IsHungUp(); }

    // The echo, then the ECU's reply to a whole frame.
    void Answer(const std::uint8_t* bytes, std::size_t n) {
        ScriptedDevice& device = *device_;
        if (!device.Faults.NoEcho) waiting_.insert(waiting_.end(), bytes, bytes + n);
        if (n != FrameSize || !device.HasEcu) return;
        RequestFrame frame;
        std::copy_n(bytes, FrameSize, frame.Bytes.begin());
        device.Received.push_back(frame);
        // Live values move with the requests, as they would with the time.
        auto reply = device.Ecu.Answer(frame, 0.25 * static_cast<double>(device.Received.size()));
        if (!reply || reply->empty() || device.Faults.Silent ||
            device.Faults.Unanswered.contains(frame.Bytes[1]))
            return;
        if (device.Faults.FirstByte) reply->front() = *device.Faults.FirstByte;
        waiting_.insert(waiting_.end(), reply->begin(), reply->end());
    }

    std::shared_ptr<ScriptedDevices> devices_;
    ScriptedDevice* device_ = nullptr;
    bool letGo_ = false;
    std::vector<std::string> names_;
    std::deque<std::uint8_t> waiting_;
    std::string name_;
    const std::string none_;
};
