#pragma once
// How the front ends name a port and say what went wrong on the line: a port
// that would not do, a recording that could not be made.

#include <string>

#include "line/PortDetection.h"

// A port as the user knows it: "COM1 (/dev/ttyUSB0)", or the name alone when
// it is the device itself (also as Windows names it, \\.\COM1) or stands
// for none.
std::string PortShown(const std::string& name, const std::string& device);

// What went wrong with a port tried, for a sentence about it: why it did not
// open ("permission denied (...)"), or the port's messages in the words of one
// sentence ("cannot be set up as a serial line (could not retrieve serial
// port state; ...)"). Empty when it opened without a message.
std::string PortTrouble(const PortProbe& probe);

// "The recording FILE cannot be created: reason."
std::string RecordingNotCreatedText(const std::string& path, const std::string& reason);
