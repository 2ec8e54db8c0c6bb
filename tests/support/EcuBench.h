#pragma once
// The ECUs behind the ports of a scratch folder, for suites that run once on
// scripted ports (exact, instant, every platform) and once on simulators over
// pseudo-terminals (POSIX): the same calls set an ECU up, fault it, unplug it
// and read what it was sent. Both keep the folder with the sample
// database.ini; the simulated ports are dosdevices/ links in it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "serial/PortLink.h"
#include "sim/EcuState.h"
#include "support/ScratchFolder.h"
#include "support/ScriptedPort.h"

#ifndef _WIN32
#include <map>

#include "serial/SerialPort.h"
#include "sim/posix/EcuSimulator.h"
#include "support/PtyPair.h"
#endif

class ScriptedEcus {
public:
    explicit ScriptedEcus(const std::filesystem::path&) {}

    void AddEcu(const std::string& name) { devices_->AddEcu(name); }
    void AddSilentPort(const std::string& name) { devices_->AddSilentPort(name); }
    EcuState State(const std::string& name) { return Ecu(name).State; }
    void SetState(const std::string& name, const EcuState& state) { Ecu(name).State = state; }
    void SetErrorBitmap(const std::string& name, const std::array<std::uint8_t, 16>& bitmap) {
        Ecu(name).State.ErrorBitmap = bitmap;
    }
    std::array<std::uint8_t, 16> ErrorBitmap(const std::string& name) {
        return Ecu(name).State.ErrorBitmap;
    }
    void SetLiveValue(const std::string& name, std::uint16_t address, std::uint16_t word) {
        Ecu(name).FixedWords[address] = word;
    }
    void RefuseSlot(const std::string& name, std::uint8_t slot, std::uint8_t status) {
        Ecu(name).Refusals[slot] = status;
    }
    void ClearRefusals(const std::string& name) { Ecu(name).Refusals = {}; }
    // NoEcho, Silent, Unanswered and FirstByte apply.
    void SetFaults(const std::string& name, const SimFaults& faults) {
        devices_->At(name).Faults = faults;
    }
    std::vector<RequestFrame> Frames(const std::string& name) {
        return devices_->At(name).Received;
    }
    void ClearLog(const std::string& name) { devices_->At(name).Received.clear(); }
    void Unplug(const std::string& name) { devices_->Unplug(name); }
    void Replug(const std::string& name) { devices_->Replug(name); }
    // Nobody holds the port of that name open.
    bool PortIsFree(const std::string& name) { return !devices_->At(name).Held; }

    // The port to give the line object.
    std::unique_ptr<PortLink> Port() { return std::make_unique<ScriptedPort>(devices_); }

private:
    EcuResponder& Ecu(const std::string& name) { return devices_->At(name).Ecu; }

    std::shared_ptr<ScriptedDevices> devices_ = std::make_shared<ScriptedDevices>();
};

#ifndef _WIN32
class SimulatedEcus {
public:
    explicit SimulatedEcus(const std::filesystem::path& folder) : folder_(folder) {
        std::filesystem::create_directories(folder / "dosdevices");
    }

    void AddEcu(const std::string& name) {
        EcuSimulator::Options options;
        options.Paced = false;
        auto& ecu = ecus_[name];
        ecu = std::make_unique<EcuSimulator>(options);
        Link(name, ecu->DevicePath());
    }
    void AddSilentPort(const std::string& name) {
        silent_.push_back(std::make_unique<PtyPair>());
        Link(name, silent_.back()->Device());
    }
    EcuState State(const std::string& name) { return ecus_.at(name)->State(); }
    void SetState(const std::string& name, const EcuState& state) {
        ecus_.at(name)->SetState(state);
    }
    void SetErrorBitmap(const std::string& name, const std::array<std::uint8_t, 16>& bitmap) {
        ecus_.at(name)->SetErrorBitmap(bitmap);
    }
    std::array<std::uint8_t, 16> ErrorBitmap(const std::string& name) {
        return ecus_.at(name)->ErrorBitmap();
    }
    void SetLiveValue(const std::string& name, std::uint16_t address, std::uint16_t word) {
        ecus_.at(name)->SetLiveValue(address, word);
    }
    void RefuseSlot(const std::string& name, std::uint8_t slot, std::uint8_t status) {
        ecus_.at(name)->RefuseSlot(slot, status);
    }
    void ClearRefusals(const std::string& name) { ecus_.at(name)->ClearRefusals(); }
    void SetFaults(const std::string& name, const SimFaults& faults) {
        ecus_.at(name)->SetFaults(faults);
    }
    std::vector<RequestFrame> Frames(const std::string& name) {
        return ecus_.at(name)->ReceivedFrames();
    }
    void ClearLog(const std::string& name) { ecus_.at(name)->ClearLog(); }
    void Unplug(const std::string& name) { ecus_.at(name)->HangUp(); }
    // A new simulator behind the name; the old one stays, hung up, until the end.
    void Replug(const std::string& name) {
        unplugged_.push_back(std::move(ecus_.at(name)));
        AddEcu(name);
    }
    bool PortIsFree(const std::string& name) {
        SerialPort other(folder_);
        return other.Open(name).Opened();
    }

    // The machine's serial port: nullptr.
    std::unique_ptr<PortLink> Port() { return nullptr; }

private:
    void Link(const std::string& name, const std::string& device) {
        const auto link = folder_ / "dosdevices" / name;
        std::filesystem::remove(link);
        std::filesystem::create_symlink(device, link);
    }

    std::filesystem::path folder_;
    std::map<std::string, std::unique_ptr<EcuSimulator>> ecus_;
    std::vector<std::unique_ptr<EcuSimulator>> unplugged_;
    std::vector<std::unique_ptr<PtyPair>> silent_;
};
#endif

// The benches a typed suite runs on.
#ifdef _WIN32
using EcuBenches = ::testing::Types<ScriptedEcus>;
#else
using EcuBenches = ::testing::Types<ScriptedEcus, SimulatedEcus>;
#endif

// "Suite/Scripted.Case" rather than "Suite/0.Case": a failure names its transport.
struct EcuBenchNames {
    template <typename Ecus>
    static std::string GetName(int) {
        return std::is_same_v<Ecus, ScriptedEcus> ? "Scripted" : "Simulated";
    }
};
