#pragma once
// What the system tells of the user and of the running program for a start in
// a working folder of the user's own: where the user's files of the program
// go, the sample definition file that came with the program, and the
// language the user reads.

#include <filesystem>
#include <string>

// The folder for the user's own files of this program, which may not be
// there yet: vmxdiag in the user's local application data (%LOCALAPPDATA%)
// on Windows; elsewhere vmxdiag in $XDG_DATA_HOME when that is an absolute
// path, else in ~/.local/share. Throws std::runtime_error, with the text for
// the user, when the system names no such place.
std::filesystem::path UserDataFolder();

// That folder as the user knows it: "~/.local/share/vmxdiag",
// "%LOCALAPPDATA%\vmxdiag".
std::string UserDataFolderInWords();

// The sample database.ini that comes with the running program: beside it, or,
// for a program in a folder named bin, in ../share/vmxdiag/ as the package
// installs it.
std::filesystem::path SampleDefinitionFile();

// Whether the user reads Russian: the user interface language on Windows;
// elsewhere the locale of messages, the first of LC_ALL, LC_MESSAGES and LANG
// that is set and not empty, starting with "ru".
bool UserReadsRussian();
