#pragma once
// How the raw words of the sample parameters move over time, so that a demo
// looks like a running engine: the speed- and load-like signals share one
// drive cycle, temperatures and voltages drift slowly, switches go 0 and 1.

#include <cstdint>
#include <optional>

enum class Motion {
    DriveCycle,  // follows the shared drive cycle
    Drift,       // slow sine of its own period
    Switch,      // 0 or 1, on for the last part of each period
};

// One simulated signal: the word moves within centre ± amplitude.
struct SignalModel {
    std::uint16_t Address;
    bool Signed;  // the word is sent in two's complement
    double Centre;
    double Amplitude;
    double PeriodSeconds;
    Motion Kind;
};

// The model of a sample-database address; nullptr when it has none.
const SignalModel* FindSignalModel(std::uint16_t address);

// The engine's state in the drive cycle, -1 at idle to +1 at full load, at
// `seconds` after start (the engine starts at idle).
double DriveCycle(double seconds);

// The raw word of a signal at `seconds` after start, clamped to 16 bits.
std::uint16_t SignalWord(const SignalModel& model, double seconds);

// The raw word of a sample-database address, or nothing for an address without a model.
std::optional<std::uint16_t> ModelWord(std::uint16_t address, double seconds);
