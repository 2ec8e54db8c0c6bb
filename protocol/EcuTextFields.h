#pragma once
// Every text the ECU information read fills, with the label the window gives
// it and the request whose reply fills it: one table for the window's boxes,
// `info` and `replay`. In the order of the requests (probe, hour counters,
// identification, user and date, VIN), as the command-line tool prints them.

#include <array>
#include <string>

#include "lang/Lang.h"
#include "protocol/EcuProtocol.h"

enum class EcuTextRequest { Probe, HourCounters, Identification, UserAndDate, Vin };

struct EcuTextField {
    Lang::Entry Label;
    std::string EcuProtocol::*Text;
    EcuTextRequest FilledBy;
    // The box of the ECU information page that shows it: LabeledEdit1 to
    // LabeledEdit8 are 0 to 7, MaskEdit1 to MaskEdit6 (the counters) 8 to 13.
    int Box;
};

inline constexpr int LabeledEditCount = 8;
inline constexpr int MaskEditCount = 6;

inline constexpr std::array<EcuTextField, LabeledEditCount + MaskEditCount> EcuTextFields{{
    {Lang::ProgramVersionLabel, &EcuProtocol::ProgramVersion, EcuTextRequest::Probe, 1},
    {Lang::ApplicationIdLabel, &EcuProtocol::ApplicationId, EcuTextRequest::Probe, 2},
    {Lang::WholeWorkingTimeLabel, &EcuProtocol::WholeWorkingTime, EcuTextRequest::HourCounters, 8},
    {Lang::NearIdleTimeLabel, &EcuProtocol::NearIdleTime, EcuTextRequest::HourCounters, 9},
    {Lang::HighSpeedSmallLoadTimeLabel, &EcuProtocol::HighSpeedSmallLoadTime,
     EcuTextRequest::HourCounters, 10},
    {Lang::PartialLoadTimeLabel, &EcuProtocol::PartialLoadTime, EcuTextRequest::HourCounters, 11},
    {Lang::MaximumLoadTimeLabel, &EcuProtocol::MaximumLoadTime, EcuTextRequest::HourCounters, 12},
    {Lang::RackZeroPositionLabel, &EcuProtocol::RackZeroPosition, EcuTextRequest::HourCounters, 13},
    {Lang::ManufacturerCodeLabel, &EcuProtocol::ManufacturerCode, EcuTextRequest::Identification,
     3},
    {Lang::ProductionDateLabel, &EcuProtocol::ProductionDate, EcuTextRequest::Identification, 4},
    {Lang::SerialNumberLabel, &EcuProtocol::SerialNumber, EcuTextRequest::Identification, 7},
    {Lang::UserLabel, &EcuProtocol::UserCode, EcuTextRequest::UserAndDate, 6},
    {Lang::LastProgrammingDateLabel, &EcuProtocol::LastProgrammingDate, EcuTextRequest::UserAndDate,
     5},
    {Lang::VinLabel, &EcuProtocol::Vin, EcuTextRequest::Vin, 0},
}};

// The field a box shows.
constexpr const EcuTextField& EcuTextFieldOfBox(int box) {
    for (const EcuTextField& field : EcuTextFields)
        if (field.Box == box) return field;
    return EcuTextFields.back();
}
