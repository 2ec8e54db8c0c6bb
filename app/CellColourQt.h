#pragma once
// A colour of the window's looks (window/CellLook.h) as Qt's: the button face
// is the palette's, whatever the style makes it.

#include <QApplication>
#include <QColor>
#include <QPalette>

#include "window/CellLook.h"

inline QColor QtColour(const CellColour& colour) {
    if (colour.ButtonFace) return QApplication::palette().color(QPalette::Active, QPalette::Button);
    return QColor(colour.Red, colour.Green, colour.Blue);
}
