#pragma once
// Decoding of the replies that identify the ECU and count the engine's hours:
// pure functions over the whole reply (byte 0 is 0x09, byte 1 is never read).
// Every text is cp1251 bytes as the page shows it. Out-of-range bytes give
// longer texts than an in-range reply does, never a cut or a corrupted one.

#include <cstdint>
#include <string>

// One reply byte read as BCD: its lower-case hex text read back as a decimal
// number up to the first non-digit (0x25 gives 25, 0x1A gives 1), or the byte's
// own value when that text starts with a letter (0x0C gives 12, 0xB3 gives 179).
int BcdToDecimal(std::uint8_t byte);

// A counter word in sixteenths of an hour as "hours:minutes", the minutes
// rounded to whole ones with a tie going to the even neighbour (0x0012 gives
// "1:8", 0x0016 gives "1:22").
std::string CounterText(std::uint16_t word);

// From the 12-byte reply of the hour-counter request.
struct HourCounterTexts {
    std::string WholeWorkingTime;
    std::string NearIdleTime;
    std::string HighSpeedSmallLoadTime;  // the whole time less the three others, modulo 2^16
    std::string PartialLoadTime;
    std::string MaximumLoadTime;
    std::string RackZeroPosition;  // sixteenths, rounded like the minutes
};
HourCounterTexts DecodeHourCounters(const std::uint8_t* reply);

// From the 34-byte reply of the identification request.
struct IdentificationTexts {
    std::string ManufacturerCode;  // four characters, a code 0 shown as a space
    std::string ProductionDate;    // dd.mm.ccyy
    std::string SerialNumber;      // five digits
};
IdentificationTexts DecodeIdentification(const std::uint8_t* reply);

// From the 34-byte reply of the user-and-date request, whose bytes 10 to 17 come
// scrambled with a chained XOR.
struct UserAndDateTexts {
    std::string UserCode;             // up to five characters, ended by a zero byte
    std::string LastProgrammingDate;  // dd.mm.yy
};
UserAndDateTexts DecodeUserAndDate(const std::uint8_t* reply);

// From the 20-byte VIN reply: bytes 3 to 19 up to the first zero byte, from
// cp866 (as the ECU sends it) to cp1251.
std::string DecodeVin(const std::uint8_t* reply);
