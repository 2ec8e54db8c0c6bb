#pragma once
// The requests the tool sends to the ECU, and the texts their replies fill.
// Every request is one exchange on the link; a failed one changes nothing.

#include <cstdint>
#include <optional>
#include <string>

#include "protocol/Exchange.h"
#include "serial/ByteLink.h"

class EcuProtocol {
public:
    explicit EcuProtocol(ByteLink& link) : link_(link) {}

    // --- Probe (command 0x80): tells whether an ECU answers ---
    // True when a whole reply came; then fills the three fields below.
    bool Probe();
    std::string ProgramVersion;  // "V1.V2.V3"; empty before the first probe
    std::int32_t ProgramVersionMajor = 0;
    std::string ApplicationId;  // decimal

    // --- Identification, hour counters and VIN ---
    // Each is true when a whole reply came and then fills its texts (cp1251);
    // a failed one leaves every text as it was.
    bool ReadHourCounters();    // the six counter texts
    bool ReadIdentification();  // ManufacturerCode, ProductionDate, SerialNumber
    bool ReadUserAndDate();     // UserCode, LastProgrammingDate
    bool ReadVin();             // Vin
    std::string ManufacturerCode;
    std::string ProductionDate;
    std::string SerialNumber;
    std::string UserCode;
    std::string LastProgrammingDate;
    std::string Vin;
    std::string WholeWorkingTime;  // "hours:minutes"
    std::string NearIdleTime;
    std::string HighSpeedSmallLoadTime;
    std::string PartialLoadTime;
    std::string MaximumLoadTime;
    std::string RackZeroPosition;  // the raw word / 16, rounded to a whole number

    // --- Live block, parameter selection, error memory ---
    // Assigns an ECU address (its low 16 bits) to one of the sixteen slots.
    SelectStatus SelectParameter(std::uint8_t slot, std::uint32_t address);
    // The byte that answered the last selection, so that a status byte the
    // table does not know can be told from silence; nothing when none came.
    std::optional<std::uint8_t> SelectionAnswer;
    // Reads the sixteen words of the live block into buffer[0..31].
    bool ReadLiveBlock(WorkBuffer& buffer);
    // Reads the 128-bit error bitmap into buffer[0..15].
    bool ReadErrors(WorkBuffer& buffer);
    // Asks the ECU to clear its error memory; true when the request went out.
    bool ClearErrors();

protected:
    ByteLink& Link() { return link_; }

private:
    ByteLink& link_;
};
