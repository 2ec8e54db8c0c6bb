#pragma once
// The window classes of our own windows: the arrow cursor over the button
// face, as the system's dialogs have.

#include <windows.h>

// Registers the class `name` with its procedure; one whose procedure paints
// every pixel itself (`paintsAll`) has no background to be erased first.
void RegisterWindowClass(HINSTANCE instance, WNDPROC proc, const wchar_t* name,
                         bool paintsAll = false);
