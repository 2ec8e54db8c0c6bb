#pragma once
// The 128 parameter and 128 error definitions of database.ini, and the
// language setting kept in the same file. Loading never writes the file;
// SaveLanguage writes the language alone.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "database/ErrorDef.h"
#include "database/ParameterDef.h"
#include "database/ProfileFile.h"

class DefinitionDatabase {
public:
    static constexpr std::size_t DefinitionCount = 128;

    // Binds IniFile to the file at iniPath, which need not exist, and loads it.
    // Throws ConversionError (with the section and the value) when an
    // "Address" is not hexadecimal. An empty path reads nothing: every
    // definition keeps its default.
    explicit DefinitionDatabase(std::filesystem::path iniPath);
    DefinitionDatabase(const DefinitionDatabase&) = delete;
    DefinitionDatabase& operator=(const DefinitionDatabase&) = delete;

    // Reads the language and all 256 definitions; absent or unconvertible
    // values take their defaults, except "Address" (see above).
    void LoadDatabase();
    // Writes "Language" of "Configuration" as "EN" or "RU"; false when the file
    // could not be written, which then stays as it was.
    bool SaveLanguage();
    // Points every Name, Unit and Reason at the text of LanguageIndex.
    void ApplyDefinitionLanguage();

    // Section names: four upper-case hex digits, errors from 0100 on.
    static std::string ParameterSection(std::size_t index);
    static std::string ErrorSection(std::size_t index);

    // One definition read from the file's text as LoadDatabase reads it, for
    // tools that look at the file without loading it. ReadParameter throws
    // ConversionError when "Address" is not hexadecimal.
    static void ReadParameter(const ProfileText& text, const std::string& section,
                              ParameterDef& def);
    static void ReadError(const ProfileText& text, const std::string& section, ErrorDef& def);

    // Destroyed in reverse: the file first, then Errors, then Parameters.
    std::array<ParameterDef, DefinitionCount> Parameters;
    std::array<ErrorDef, DefinitionCount> Errors;
    ProfileFile IniFile;
    std::uint8_t LanguageIndex = 0;  // 0 Russian, 1 English
};
