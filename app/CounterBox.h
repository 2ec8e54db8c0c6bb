#pragma once
// A counter box of the ECU information page: a line edit with the mask of an
// optional digit, three digits, a colon and two digits, into which a counter
// text is typed at the positions the behaviour chose for it.

#include "window/CounterText.h"

class QLineEdit;

// The input mask of the boxes, in Qt's syntax ('0' an optional digit, '9' a
// required one); the blank is a space.
inline constexpr const char* CounterInputMask = "0999:99";

// Empties the box and types the counter in.
void ShowCounter(QLineEdit& box, const CounterText& text);
