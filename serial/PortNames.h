#pragma once
// What makes a device name a port name of the list, and the order in which
// port names are shown.

#include <string_view>

// True when the first four characters are, case-sensitively, one of COM1 to
// COM8: COM12 is taken (it begins with COM1), COM9 and com1 are not.
bool IsListedPortName(std::string_view name);

// Natural order: runs of digits compare by their value, so COM2 comes before
// COM10. Names that differ only in leading zeros still compare unequal, which
// keeps the order strict and the same on every machine.
bool NaturalLess(std::string_view a, std::string_view b);
