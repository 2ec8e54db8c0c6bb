#pragma once
// The window program's command line, the same in either toolkit: its
// options, their help, and what each sets in WindowBehaviour::Options. A new
// option is one entry of the table in WindowOptions.cpp (and its field in
// WindowArguments); both programs, their help and their checks take it from
// there.

#include <string>
#include <utility>
#include <vector>

#include "window/WindowBehaviour.h"

struct WindowArguments;

struct WindowOption {
    const char* Name;       // given as --Name
    const char* ValueName;  // "FILE"; null for a flag
    std::string Help;
    const char* GoesWith;  // the option it is meaningless without; null for none
    void (*Set)(WindowArguments& arguments, const std::string& value);
};

// The options besides --help and --version, in the order the help lists them.
const std::vector<WindowOption>& WindowOptions();

// The options given, each with its value (empty for a flag), as a toolkit's
// parser hands them over; the values are in the system's encoding of file
// names. The Options they set, or what is wrong with them ("--record needs a
// file", "--force goes with --record").
struct WindowArguments {
    WindowBehaviour::Options Options;
    // Start in the user's own working folder (window/UserFolder.h).
    bool UserFolder = false;
    // The log to show in the viewer alone, instead of the window (window/LogWindow.h).
    std::string OpenLog;
    std::string Problem;  // empty when the options are fine
};
WindowArguments ApplyWindowOptions(const std::vector<std::pair<std::string, std::string>>& given);

// What a whole command line (the arguments after the program's name) asks
// for: the window, or the help or the version, which a program answers
// before its toolkit starts (they need no display), or nothing it knows.
enum class WindowAsk { Window, Help, Version, Wrong };
struct WindowCommandLine {
    WindowAsk Ask = WindowAsk::Window;
    WindowArguments Arguments;  // with Window, or Wrong and its Problem
};
// "--name value" and "--name=value" both; --help is also -h or -?, --version
// also -v; nothing after "--" is an option.
WindowCommandLine ReadWindowCommandLine(const std::vector<std::string>& arguments);

// The help as text: the usage line and each option with its help.
std::string WindowUsage();
