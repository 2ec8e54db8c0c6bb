#pragma once
// What a front end says of database.ini as a session starts. A file that is
// not there, or defines no parameter, leaves every parameter and error without
// a name and every value a raw word, which looks like a fault of the ECU; and
// what the definition checker counts as an error (a line that is not read, an
// Address the start stops at) is better said at once, in the checker's words,
// than found by its effects. The session starts all the same, unless the
// file cannot be read or an Address stops it.

#include <filesystem>
#include <string>
#include <vector>

#include "database/DefinitionCheck.h"
#include "database/ProfileFile.h"

struct DefinitionFileNotice {
    std::filesystem::path Path;
    bool Missing = false;
    std::string Unreadable;     // why the file could not be read; empty when it was, or is missing
    bool NoParameters = false;  // read, but without a section 0000 to 007F
    bool OnlyLanguage = false;  // and with nothing in it but the language
    std::vector<DefinitionFinding> Errors;  // the checker's errors, by line; no warnings
};

// Reads the file at path as the session would and looks it over.
DefinitionFileNotice InspectDefinitionFile(const std::filesystem::path& path);
// Looks over the file as the session read it.
DefinitionFileNotice InspectDefinitionFile(const ProfileFile& file);

// The notice as lines to show, in cp1251 (findings quote the file; control
// characters show as '?'): a missing file or one that defines no parameter,
// with the folder looked in, one that cannot be read, and each error as
// `vmxdiag-cli check` prints it ("database.ini:76: error: ..."), followed by a
// pointer to that command. None for an empty notice.
std::vector<std::string> NoticeLines(const DefinitionFileNotice& notice);
