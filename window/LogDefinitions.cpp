#include "window/LogDefinitions.h"

#include "database/DefinitionDatabase.h"
#include "database/ProfileValues.h"
#include "text/CodePage.h"
#include "text/Printable.h"

const LogDefinition* LogDefinitions::Of(const std::string& code) const {
    for (const LogDefinition& def : Parameters)
        if (def.Code == code) return &def;
    return nullptr;
}

// The keys are read one by one rather than through the loader, which stops
// at an "Address" it cannot convert.
LogDefinitions ReadLogDefinitions(const std::filesystem::path& iniPath) {
    const ProfileFile file(iniPath);
    LogDefinitions definitions;
    // As the window reads it: anything but "RU", in any case, is English.
    std::string language = file.Read("Configuration", "Language", "RU");
    for (char& c : language)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    definitions.Language = language == "RU" ? 0 : 1;
    for (std::size_t i = 0; i < DefinitionDatabase::DefinitionCount; ++i) {
        const std::string section = DefinitionDatabase::ParameterSection(i);
        const auto text = [&](const char* key) {
            return file.Read(section, key).value_or(std::string());
        };
        LogDefinition def;
        def.Code = Printable(text("CodeEn"));
        if (def.Code.empty()) continue;
        def.NameRu = Cp1251ToUtf8(text("NameRu"));
        def.NameEn = Cp1251ToUtf8(text("NameEn"));
        def.UnitRu = Cp1251ToUtf8(text("UnitRu"));
        def.UnitEn = Cp1251ToUtf8(text("UnitEn"));
        def.Digits = static_cast<std::uint8_t>(ParseInteger(text("Digits")).value_or(0));
        def.Min = ParseDecimal(text("Min")).value_or(0.0);
        def.Max = ParseDecimal(text("Max")).value_or(0.0);
        definitions.Parameters.push_back(std::move(def));
    }
    return definitions;
}
