#pragma once
// One error definition of database.ini: the text of one bit of the ECU's error
// list. Name and Reason point at the Russian or English text of this same
// definition, so a definition is neither copied nor moved.

#include <cstdint>
#include <string>

struct ErrorDef {
    std::int8_t Bit = 0;
    std::string Code;
    const std::string* Name = &NameRu;
    std::string NameRu;
    std::string NameEn;
    const std::string* Reason = &ReasonRu;
    std::string ReasonRu;
    std::string ReasonEn;

    ErrorDef() = default;
    ErrorDef(const ErrorDef&) = delete;
    ErrorDef& operator=(const ErrorDef&) = delete;

    // Language index 1 is English, anything else Russian.
    void SelectLanguage(std::uint8_t languageIndex) {
        Name = languageIndex == 1 ? &NameEn : &NameRu;
        Reason = languageIndex == 1 ? &ReasonEn : &ReasonRu;
    }
};
