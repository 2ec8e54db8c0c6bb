#include "sim/LiveModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double DriveCyclePeriod = 20.0;

constexpr SignalModel Model(std::uint16_t address, bool isSigned, double centre, double amplitude,
                            double period, Motion kind = Motion::Drift) {
    return {
        address, isSigned,
        centre,  amplitude,
        period,  period == DriveCyclePeriod && kind == Motion::Drift ? Motion::DriveCycle : kind};
}

// The sample database's addresses; a period of 20 s means "moves with the engine".
constexpr std::array SampleSignals{
    Model(0x0100, false, 6000, 2800, 20),            // engine speed
    Model(0x0102, true, 850, 30, 60),                // coolant temperature
    Model(0x0104, true, 420, 20, 90),                // fuel temperature
    Model(0x0106, false, 1600, 500, 20),             // boost pressure
    Model(0x0108, true, 1800, 900, 20),              // rack position
    Model(0x010A, false, 6000, 3500, 20),            // injected quantity
    Model(0x010C, false, 27600, 300, 7),             // battery voltage
    Model(0x01A4, false, 400, 380, 20),              // accelerator pedal
    Model(0x010E, false, 7000, 5000, 45),            // vehicle speed
    Model(0x0110, false, 75, 8, 120),                // intake air temperature
    Model(0x0112, false, 130, 6, 120),               // oil temperature
    Model(0x0114, false, 100, 40, 20),               // oil pressure
    Model(0x0116, false, 6000, 2600, 20),            // set engine speed
    Model(0x0118, true, 800, 400, 20),               // injection timing
    Model(0x011A, false, 128, 100, 20),              // engine load
    Model(0x011C, false, 3000, 2000, 20),            // air mass flow
    Model(0x011E, false, 1005, 3, 300),              // atmospheric pressure
    Model(0x0120, false, 900, 400, 30),              // exhaust gas temperature
    Model(0x0122, false, 9000, 2000, 20),            // smoke limit quantity
    Model(0x0124, true, 1850, 900, 20),              // rack set point
    Model(0x0126, false, 1500, 900, 20),             // fuel consumption
    Model(0x0128, false, 5000, 10, 5),               // sensor supply voltage
    Model(0x012A, true, 450, 20, 200),               // ECU temperature
    Model(0x012C, false, 500, 350, 20),              // engine torque
    Model(0x012E, false, 100, 90, 60),               // fan drive duty
    Model(0x0130, false, 3200, 0, 1),                // idle speed set point
    Model(0x0132, false, 10240, 0, 1),               // cruise control set speed
    Model(0x0134, false, 1650, 500, 20),             // boost pressure set point
    Model(0x0136, true, 2500, 1500, 20),             // rack actuator current
    Model(0x0138, false, 400, 200, 20),              // rack sensor voltage
    Model(0x013A, false, 3000, 1400, 20),            // camshaft speed
    Model(0x013C, false, 90, 15, 60),                // charge air temperature
    Model(0x013E, false, 0, 1, 30, Motion::Switch),  // clutch switch
    Model(0x0140, false, 0, 1, 25, Motion::Switch),  // brake switch
    Model(0x0142, false, 3500, 300, 20),             // fuel supply pressure
    Model(0x0144, false, 350, 0, 1),                 // hours to service
};

double Fraction(double x) {
    return x - std::floor(x);
}

// From a to b over the part [from, to) of the cycle, without a jump in slope.
double Ease(double u, double from, double to, double a, double b) {
    double s = (u - from) / (to - from);
    return a + (b - a) * s * s * (3 - 2 * s);
}

}  // namespace

const SignalModel* FindSignalModel(std::uint16_t address) {
    auto found = std::find_if(SampleSignals.begin(), SampleSignals.end(),
                              [&](const SignalModel& m) { return m.Address == address; });
    return found == SampleSignals.end() ? nullptr : &*found;
}

double DriveCycle(double seconds) {
    // Idle, pull away to full load, ease back to a cruise, coast down to idle.
    constexpr double cruise = 0.2;
    double u = Fraction(seconds / DriveCyclePeriod);
    if (u < 0.15) return -1;
    if (u < 0.35) return Ease(u, 0.15, 0.35, -1, 1);
    if (u < 0.55) return 1;
    if (u < 0.65) return Ease(u, 0.55, 0.65, 1, cruise);
    if (u < 0.85) return cruise;
    return Ease(u, 0.85, 1.0, cruise, -1);
}

std::uint16_t SignalWord(const SignalModel& model, double seconds) {
    double swing = 0;
    switch (model.Kind) {
        case Motion::DriveCycle:
            swing = DriveCycle(seconds);
            break;
        case Motion::Drift:
            // Offset by address so the slow signals do not all cross their centre together.
            swing = std::sin(2 * std::numbers::pi * seconds / model.PeriodSeconds +
                             0.7 * model.Address);
            break;
        case Motion::Switch:
            swing = Fraction(seconds / model.PeriodSeconds) >= 0.85 ? 1 : 0;
            break;
    }
    double value = std::round(model.Centre + model.Amplitude * swing);
    double low = model.Signed ? -32768.0 : 0.0;
    double high = model.Signed ? 32767.0 : 65535.0;
    auto word = static_cast<std::int32_t>(std::clamp(value, low, high));
    return static_cast<std::uint16_t>(word);
}

std::optional<std::uint16_t> ModelWord(std::uint16_t address, double seconds) {
    const SignalModel* model = FindSignalModel(address);
    if (model == nullptr) return std::nullopt;
    return SignalWord(*model, seconds);
}
