#pragma once
// One read of everything the ECU information page shows, in the order the
// page sends its requests.

#include <array>
#include <cstddef>
#include <optional>

#include "protocol/EcuProtocol.h"
#include "protocol/EcuTextFields.h"

// Only ECUs with program version 40 to 49 are asked for the user, the date of
// last programming and the VIN.
bool ReadsUserAndVin(int programVersionMajor);

// How each request of one read went.
struct EcuInformationRead {
    // By EcuTextRequest: true when answered, false when not; nothing when
    // the request was not sent.
    std::array<std::optional<bool>, 5> Answered{};
    std::optional<bool> Of(EcuTextRequest request) const {
        return Answered[static_cast<std::size_t>(request)];
    }
    // The probe and the counters answered: the read counts as good, and the
    // later requests' texts keep what they held when a reply does not come.
    bool Succeeded() const {
        return Of(EcuTextRequest::Probe).value_or(false) &&
               Of(EcuTextRequest::HourCounters).value_or(false);
    }
};

// Probe, then the hour counters; only when both answered, the identification
// and, for versions 40 to 49, the user and date and the VIN.
EcuInformationRead ReadEcuInformationRequests(EcuProtocol& ecu);

// The same, judged as the window judges it: true when the probe and the
// counters succeeded.
bool ReadEcuInformation(EcuProtocol& ecu);
