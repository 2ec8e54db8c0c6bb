#pragma once
// The definitions of database.ini for the commands that read them without
// talking to the ECU (definitions, replay): read only, as the tool never
// writes the file.

#include <CLI/CLI.hpp>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "database/DefinitionDatabase.h"
#include "database/ProfileValues.h"

// An "Address" that does not convert, on standard error with its section.
void SayConversionError(const ConversionError& error);

// Adds --lang ru|en to a command: the texts in that language instead of the
// file's. `names` may add another spelling ("--lang,--language").
void AddLanguageOption(CLI::App& command, std::string& language,
                       const std::string& names = "--lang");

// The language index (0 Russian, 1 English) of a --lang value; nothing for none.
std::optional<std::uint8_t> ChosenLanguage(const std::string& language);

// False, with the reason on standard error, when the file is there but
// could not be read.
bool WasRead(const DefinitionDatabase& database);

// Loads database.ini of the current directory, in `language` when one is given.
// Null, with the reason on standard error, when an "Address" does not convert. A file that is there
// but cannot be read comes back empty, its reason in IniFile.ReadFailure().
std::unique_ptr<DefinitionDatabase> ReadDefinitions(const std::string& language);

// The same for the commands that need the definitions: a file that is there
// but cannot be read is refused too, with the reason on standard error. A
// missing file gives the defaults.
std::unique_ptr<DefinitionDatabase> LoadDefinitions(const std::string& language);
