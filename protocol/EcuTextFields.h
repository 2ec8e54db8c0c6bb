#pragma once
// Every text the ECU information read fills, with the request whose reply
// fills it, in the order of the requests (probe, hour counters,
// identification, user and date, VIN).

#include <array>
#include <string>

#include "protocol/EcuProtocol.h"

enum class EcuTextRequest { Probe, HourCounters, Identification, UserAndDate, Vin };

struct EcuTextField {
    std::string EcuProtocol::*Text;
    EcuTextRequest FilledBy;
};

inline constexpr std::array<EcuTextField, 14> EcuTextFields{{
    {&EcuProtocol::ProgramVersion, EcuTextRequest::Probe},
    {&EcuProtocol::ApplicationId, EcuTextRequest::Probe},
    {&EcuProtocol::WholeWorkingTime, EcuTextRequest::HourCounters},
    {&EcuProtocol::NearIdleTime, EcuTextRequest::HourCounters},
    {&EcuProtocol::HighSpeedSmallLoadTime, EcuTextRequest::HourCounters},
    {&EcuProtocol::PartialLoadTime, EcuTextRequest::HourCounters},
    {&EcuProtocol::MaximumLoadTime, EcuTextRequest::HourCounters},
    {&EcuProtocol::RackZeroPosition, EcuTextRequest::HourCounters},
    {&EcuProtocol::ManufacturerCode, EcuTextRequest::Identification},
    {&EcuProtocol::ProductionDate, EcuTextRequest::Identification},
    {&EcuProtocol::SerialNumber, EcuTextRequest::Identification},
    {&EcuProtocol::UserCode, EcuTextRequest::UserAndDate},
    {&EcuProtocol::LastProgrammingDate, EcuTextRequest::UserAndDate},
    {&EcuProtocol::Vin, EcuTextRequest::Vin},
}};
