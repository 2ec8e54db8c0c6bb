#pragma once
// The line object, opened on a port with an ECU behind it, for suites that
// make the same requests on scripted ports (exact and instant, every platform)
// and on simulators over pseudo-terminals (POSIX): type the suite with
// EcuBenches. Nothing here should reach the user, so any message fails the test.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "line/EcuLine.h"
#include "protocol/RequestFrame.h"
#include "serial/SerialPort.h"
#include "sim/EcuState.h"
#include "support/EcuBench.h"
#include "support/RecordingSink.h"
#include "support/ScratchFolder.h"

template <typename Ecus>
class LineTest : public ::testing::Test {
protected:
    inline static const std::string Port = "COM1";

    void SetUp() override {
        ecus.AddEcu(Port);
        ASSERT_TRUE(line.Open(Port).Opened());
    }
    void TearDown() override { EXPECT_THAT(sink.Messages, ::testing::IsEmpty()); }

    EcuProtocol& Ecu() { return line.Ecu(); }
    ByteLink& Link() { return line.Link(); }
    std::vector<RequestFrame> Received() { return ecus.Frames(Port); }
    void SetFaults(const SimFaults& faults) { ecus.SetFaults(Port, faults); }

    ScratchFolder folder;
    Ecus ecus{folder.Path()};
    RecordingSink sink;
    EcuLine line{sink, PortOf(ecus, folder.Path())};  // last, so that it closes before the ECUs go

private:
    // A bench without ports of its own puts its ECUs behind the machine's port names.
    static std::unique_ptr<PortLink> PortOf(Ecus& ecus, const std::filesystem::path& base) {
        if (auto port = ecus.Port()) return port;
        return std::make_unique<SerialPort>(base);
    }
};
