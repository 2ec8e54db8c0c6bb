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
        ReadParameter(IniFile.Text(), ParameterSection(i), Parameters[i]);
    }
    for (std::size_t n = 0; n < DefinitionCount; ++n)
        ReadError(IniFile.Text(), ErrorSection(n), Errors[n]);
}

void DefinitionDatabase::ReadParameter(const ProfileText& file, const std::string& section,
                                       ParameterDef& def) {
    const auto text = [&](const char* key, const char* defaultValue = "") {
        return file.Read(section, key).value_or(defaultValue);
    };
    const auto integer = [&](const char* key, std::int32_t defaultValue) {
        const auto value = file.Read(section, key);
        return value ? ParseInteger(*value).value_or(defaultValue) : defaultValue;
    };
    const auto decimal = [&](const char* key) { return ParseDecimal(text(key)).value_or(0.0); };
    def.CodeEn = text("CodeEn");
    def.NameRu = text("NameRu");
    def.NameEn = text("NameEn");
    def.UnitRu = text("UnitRu");
    def.UnitEn = text("UnitEn");
    const std::string address = text("Address", "0");
    try {
        def.Address = ParseAddress(address);
    } catch (ConversionError& error) {
        error.Section = section;
        error.Value = address;
        throw;
    }
    def.Length = static_cast<std::int8_t>(LowByte(integer("Length", 2)));
    def.Signed = integer("Signed", 0) != 0;
    def.Formula = text("Formula", "X");
    def.Digits = LowByte(integer("Digits", 0));
    def.Min = decimal("Min");
    def.Max = decimal("Max");
    def.Color = integer("Color", 0xFFFF);
}

void DefinitionDatabase::ReadError(const ProfileText& file, const std::string& section,
                                   ErrorDef& def) {
    const auto text = [&](const char* key) { return file.Read(section, key).value_or(""); };
    const auto bit = file.Read(section, "Bit");
    def.Bit = static_cast<std::int8_t>(LowByte(bit ? ParseInteger(*bit).value_or(0) : 0));
    def.Code = text("Code");
    def.NameRu = text("NameRu");
    def.NameEn = text("NameEn");
    def.ReasonRu = text("ReasonRu");
    def.ReasonEn = text("ReasonEn");
}

bool DefinitionDatabase::SaveLanguage() {
    return IniFile.Write("Configuration", "Language", LanguageIndex == 1 ? "EN" : "RU");
}

void DefinitionDatabase::ApplyDefinitionLanguage() {
    for (ParameterDef& def : Parameters) def.SelectLanguage(LanguageIndex);
    for (ErrorDef& def : Errors) def.SelectLanguage(LanguageIndex);
}
