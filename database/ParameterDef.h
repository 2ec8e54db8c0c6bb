#pragma once
// One parameter definition of database.ini: what the ECU address holds and how
// its raw 16-bit word is shown. Name and Unit point at the Russian or English
// text of this same definition, so a definition is neither copied nor moved.

#include <cstdint>
#include <string>

struct ParameterDef {
    std::string CodeEn;
    const std::string* Name = &NameRu;
    std::string NameRu;
    std::string NameEn;
    const std::string* Unit = &UnitRu;
    std::string UnitRu;
    std::string UnitEn;
    std::string Formula;
    double Min = 0.0;
    double Max = 0.0;
    std::int32_t Address = 0;
    bool Signed = false;
    std::uint8_t Digits = 0;
    std::int8_t Length = 2;
    std::int32_t Color = 0xFFFF;

    ParameterDef() = default;
    ParameterDef(const ParameterDef&) = delete;
    ParameterDef& operator=(const ParameterDef&) = delete;

    // Language index 1 is English, anything else Russian.
    void SelectLanguage(std::uint8_t languageIndex) {
        Name = languageIndex == 1 ? &NameEn : &NameRu;
        Unit = languageIndex == 1 ? &UnitEn : &UnitRu;
    }
};

// A value outside its definition's Min to Max, which the window shows in a
// warning colour; only where Min < Max, so that a file without ranges warns of
// nothing. Not a number is in no range and warns of nothing either.
inline bool OutOfRange(const ParameterDef& def, double value) {
    return def.Min < def.Max && (value < def.Min || value > def.Max);
}
