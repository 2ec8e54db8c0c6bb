#pragma once
// A look over a hand-written database.ini for what the loader would take
// otherwise than its writer meant: lines it would misread or skip, an address
// that stops the start of a session, and values it accepts without a word but
// shows wrongly. The text is read exactly as the loader reads it; nothing is
// changed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "database/ProfileText.h"

struct DefinitionFinding {
    enum class Severity : std::uint8_t { Error, Warning };
    std::size_t Line = 0;  // from 1
    Severity Level = Severity::Warning;
    std::string Message;  // in cp1251, as it quotes the file's texts
};

// Errors are what the loader misreads or what stops a session; warnings what
// it reads as written but most likely not as meant. Ordered by line.
std::vector<DefinitionFinding> CheckDefinitions(const ProfileText& text);

// Whether the text has a parameter section, 0000 to 007F, as the loader finds it.
bool DefinesAParameter(const ProfileText& text);
// Whether the text sets the language and holds nothing else but comments: the
// file the window writes when it closes after a start without one.
bool HoldsOnlyTheLanguage(const ProfileText& text);
