#include "protocol/EcuInformation.h"

bool ReadsUserAndVin(int programVersionMajor) {
    return programVersionMajor >= 40 && programVersionMajor <= 49;
}

EcuInformationRead ReadEcuInformationRequests(EcuProtocol& ecu) {
    EcuInformationRead read;
    const auto answer = [&read](EcuTextRequest request, bool answered) {
        read.Answered[static_cast<std::size_t>(request)] = answered;
        return answered;
    };
    if (!answer(EcuTextRequest::Probe, ecu.Probe()) ||
        !answer(EcuTextRequest::HourCounters, ecu.ReadHourCounters()))
        return read;
    answer(EcuTextRequest::Identification, ecu.ReadIdentification());
    if (ReadsUserAndVin(ecu.ProgramVersionMajor)) {
        answer(EcuTextRequest::UserAndDate, ecu.ReadUserAndDate());
        answer(EcuTextRequest::Vin, ecu.ReadVin());
    }
    return read;
}

bool ReadEcuInformation(EcuProtocol& ecu) {
    return ReadEcuInformationRequests(ecu).Succeeded();
}
