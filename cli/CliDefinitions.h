#pragma once
// The definitions of database.ini as the command-line tool uses them: read
// only. The tool never writes the file, so it holds the definitions alone and
// never a whole session (whose end writes the language back).

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "database/DefinitionDatabase.h"

// Adds --lang ru|en to a command: the texts in that language instead of the file's.
void AddLanguageOption(CLI::App& command, std::string& language);

// Loads database.ini of the current directory, in `language` when one is given.
// Null, with the reason on standard error, when an "Address" does not convert.
// A file that is there but cannot be read comes back empty, its reason in
// IniFile.ReadFailure().
std::unique_ptr<DefinitionDatabase> ReadDefinitions(const std::string& language);

// The same for the commands that need the definitions: a file that is there
// but cannot be read is refused too, with the reason on standard error. A
// missing file gives the defaults.
std::unique_ptr<DefinitionDatabase> LoadDefinitions(const std::string& language);
