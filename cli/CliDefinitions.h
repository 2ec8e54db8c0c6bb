#pragma once
// The definitions of database.ini as the command-line tool uses them: read
// only. The tool never writes the file, so it holds the definitions alone and
// never a whole session (whose end writes the language back).

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "database/DefinitionDatabase.h"

// Adds --lang ru|en to a command: the texts in that language instead of the
// file's. `names` may add another spelling ("--lang,--language").
void AddLanguageOption(CLI::App& command, std::string& language,
                       const std::string& names = "--lang");

// Loads database.ini of the current directory, in `language` when one is given.
// Null, with the reason on standard error (unless `conversionSaid`), when an
// "Address" does not convert. A file that is there but cannot be read comes
// back empty, its reason in IniFile.ReadFailure().
std::unique_ptr<DefinitionDatabase> ReadDefinitions(const std::string& language,
                                                    bool conversionSaid = false);

// The same for the commands that need the definitions: a file that is there
// but cannot be read is refused too, with the reason on standard error. A
// missing file gives the defaults.
std::unique_ptr<DefinitionDatabase> LoadDefinitions(const std::string& language,
                                                    bool conversionSaid = false);

// The same for the commands that talk to the ECU, which first say on standard
// error what is amiss with the file (database/DefinitionFileNotice.h): a
// missing file or one without a parameter, and the checker's errors in its
// words. Null when the file cannot be read or an Address stops the start.
// With `needsParameters` (live selects the parameters by the addresses the
// file gives) a file that is missing or defines no parameter leaves nothing
// to read: it is refused too, with what to do.
std::unique_ptr<DefinitionDatabase> LoadSessionDefinitions(const std::string& language,
                                                           bool needsParameters = false);
