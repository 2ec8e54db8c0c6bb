#pragma once
// The simulated ECU's state and the faults of its line, as the simulator and
// the tests' scripted ECU take them.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "protocol/RequestFrame.h"

// What the simulated ECU reports. Texts are given as the ECU holds them and
// encoded by the simulator into the reply layouts (BCD, scrambling, cp866).
struct EcuState {
    // Probe: program version V1.V2.V3 and application identifier.
    std::uint16_t VersionMajor = 40;
    std::uint16_t VersionMinor = 3;
    std::uint16_t VersionPatch = 5;
    std::uint16_t ApplicationId = 1001;

    // Hour counters W0..W3 in sixteenths of an hour, W4 the raw rack zero position.
    std::array<std::uint16_t, 5> Counters{0x3A41, 0x1520, 0x0C83, 0x0412, 400};

    // Identification: four characters of the manufacturer code (each sent as
    // its decimal character code in BCD), five serial digits, production date.
    std::string ManufacturerCode = "VMX ";
    std::string SerialNumber = "21435";
    int ProductionDay = 15, ProductionMonth = 6, ProductionYear = 2019;

    // User code (five characters) and date of last programming (day, month, year
    // within the century), sent scrambled with the chained XOR, seed 0x5A.
    std::string UserCode = "SERV1";
    std::array<std::uint8_t, 3> ProgrammingDate{7, 12, 26};

    // Vehicle identification number, 17 bytes in cp866.
    std::string VinCp866 = "X9L21230060123456";

    // 128-bit error bitmap: bit b of byte p is error 8p+b. The clear request
    // empties it, unless the ECU keeps its errors (an error still present
    // comes back at once): it then acknowledges the clear all the same.
    std::array<std::uint8_t, 16> ErrorBitmap{};
    bool KeepsErrors = false;

    // Status byte that refuses a selection of an address the ECU does not know.
    // (A slot past 15 is refused with 0x1F; a refused slot keeps its old address.)
    std::uint8_t UnknownAddressStatus = 0x2F;
};

// Faults of the line or the ECU, applied to every exchange while set.
// The faults shape the reply in this order: FirstByte, then ShortBy; Garbage goes
// in front and Delay before the whole. HangUpAfter counts reply bytes after the
// garbage and is used up by the next request that gets a reply (Silent counts as
// a reply of no bytes). Replies include the answer to the clear request, 09 00.
struct SimFaults {
    bool NoEcho = false;  // the line does not echo
    // Only the first Bytes bytes (at least 2) of each frame of Command are echoed.
    struct CutEcho {
        std::uint8_t Command = 0;
        std::size_t Bytes = FrameSize;
    };
    std::optional<CutEcho> PartialEcho;
    // The line lags one request behind, as after a run that was killed half
    // way or an ECU that answered too late: the echo and reply of each frame
    // are held back until the next frame starts to arrive, and go out ahead of
    // that frame's echo. Bytes held when the fault is lifted still go out so.
    bool LateLine = false;
    bool Silent = false;                     // echo, but no reply at all
    std::size_t ShortBy = 0;                 // drop this many bytes from the end of each reply
    std::optional<std::uint8_t> FirstByte;   // replaces the first reply byte (0x09, ack or status)
    std::vector<std::uint8_t> Garbage;       // sent before each reply
    std::chrono::milliseconds Delay{0};      // wait before each reply
    std::optional<std::size_t> HangUpAfter;  // hang up after this many bytes of the next reply
    // Silent for these commands only (byte 1 of the frame), as an ECU that
    // answers the probe but not the requests after it.
    std::set<std::uint8_t> Unanswered;
};
