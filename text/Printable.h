#pragma once
// Texts of database.ini or of the ECU, made safe to show or write as UTF-8.

#include <string>

// UTF-8 of a cp1251 text, with control characters shown as '?' so that bytes of
// the file never reach a terminal as commands or a log as line breaks.
std::string Printable(const std::string& cp1251);

// The same text in its own code page, each control character (a zero byte,
// which would end the text for a C string, an escape, DEL) shown as '?'.
std::string WithControlsShown(std::string text);
