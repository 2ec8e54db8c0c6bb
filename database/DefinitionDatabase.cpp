#include "database/DefinitionDatabase.h"

#include <cstdio>

#include "database/ProfileValues.h"

namespace {

std::string FourHexDigits(std::size_t number) {
    char name[16];
    std::snprintf(name, sizeof name, "%04X", static_cast<unsigned>(number));
    return name;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// An 8-bit field keeps the low byte of the integer.
std::uint8_t LowByte(std::int32_t value) {
    return static_cast<std::uint8_t>(value);
}

}  // namespace

DefinitionDatabase::DefinitionDatabase(std::filesystem::path iniPath)
    : IniFile(std::move(iniPath)) {
    LoadDatabase();
}

std::string DefinitionDatabase::ParameterSection(std::size_t index) {
    return FourHexDigits(index);
}

std::string DefinitionDatabase::ErrorSection(std::size_t index) {
    return FourHexDigits(0x100 + index);
}

void DefinitionDatabase::LoadDatabase() {
    LanguageIndex =
        EqualsIgnoringCase(IniFile.Read("Configuration", "Language", "RU"), "RU") ? 0 : 1;
    ApplyDefinitionLanguage();
    for (std::size_t i = 0; i < DefinitionCount; ++i) {
        ReadParameter(Parameters[i], ParameterSection(i));
    }
    for (std::size_t n = 0; n < DefinitionCount; ++n) ReadError(Errors[n], ErrorSection(n));
}

void DefinitionDatabase::ReadParameter(ParameterDef& def, const std::string& section) const {
    const auto integer = [&](const char* key, std::int32_t defaultValue) {
        const auto text = IniFile.Read(section, key);
        return text ? ParseInteger(*text).value_or(defaultValue) : defaultValue;
    };
    const auto decimal = [&](const char* key) {
        return ParseDecimal(IniFile.Read(section, key, "")).value_or(0.0);
    };
    def.CodeEn = IniFile.Read(section, "CodeEn", "");
    def.NameRu = IniFile.Read(section, "NameRu", "");
    def.NameEn = IniFile.Read(section, "NameEn", "");
    def.UnitRu = IniFile.Read(section, "UnitRu", "");
    def.UnitEn = IniFile.Read(section, "UnitEn", "");
    const std::string address = IniFile.Read(section, "Address", "0");
    try {
        def.Address = ParseAddress(address);
    } catch (ConversionError& error) {
        error.Section = section;
        error.Value = address;
        throw;
    }
    def.Length = static_cast<std::int8_t>(LowByte(integer("Length", 2)));
    def.Signed = integer("Signed", 0) != 0;
    def.Formula = IniFile.Read(section, "Formula", "X");
    def.Digits = LowByte(integer("Digits", 0));
    def.Min = decimal("Min");
    def.Max = decimal("Max");
    def.Color = integer("Color", 0xFFFF);
}

void DefinitionDatabase::ReadError(ErrorDef& def, const std::string& section) const {
    const auto bit = IniFile.Read(section, "Bit");
    def.Bit = static_cast<std::int8_t>(LowByte(bit ? ParseInteger(*bit).value_or(0) : 0));
    def.Code = IniFile.Read(section, "Code", "");
    def.NameRu = IniFile.Read(section, "NameRu", "");
    def.NameEn = IniFile.Read(section, "NameEn", "");
    def.ReasonRu = IniFile.Read(section, "ReasonRu", "");
    def.ReasonEn = IniFile.Read(section, "ReasonEn", "");
}

bool DefinitionDatabase::SaveLanguage() {
    return IniFile.Write("Configuration", "Language", LanguageIndex == 1 ? "EN" : "RU");
}

void DefinitionDatabase::ApplyDefinitionLanguage() {
    for (ParameterDef& def : Parameters) def.SelectLanguage(LanguageIndex);
    for (ErrorDef& def : Errors) def.SelectLanguage(LanguageIndex);
}
