#pragma once
// A colour of the window's looks (window/CellLook.h) as the system's: the
// button face is the one of the user's settings.

#include <windows.h>

#include "window/CellLook.h"

inline COLORREF SystemColour(const CellColour& colour) {
    return colour.ButtonFace ? ::GetSysColor(COLOR_BTNFACE)
                             : RGB(colour.Red, colour.Green, colour.Blue);
}
