#pragma once
// How every cell of both parameter lists is painted: the Value column lime
// green on black in 14 points, the other columns black on the button face in
// 12 points. Font name and weight stay the list's. The look depends on the
// column; the Value column's text also on whether the list's values are stale
// (its last read failed: grey) and whether the value is outside its
// definition's range (the warning colour).

#include <cstdint>

struct CellColour {
    bool ButtonFace = false;  // the system's button face, whatever it is
    std::uint8_t Red = 0, Green = 0, Blue = 0;
    bool operator==(const CellColour&) const = default;
};

struct CellLook {
    CellColour Background;
    CellColour Text;
    int PointSize = 0;
};

inline constexpr int ValueColumn = 2;

// A value outside its range: orange red, which neither lime nor grey is
// taken for.
constexpr CellColour WarningColour() {
    return {false, 255, 80, 0};
}

// A value of a read that failed since: grey, in the lists and the trend alike.
constexpr CellColour StaleColour() {
    return {false, 128, 128, 128};
}

// A stale value is grey whatever its range: its colour then tells its age.
constexpr CellLook CellLookOf(int column, bool stale = false, bool outOfRange = false) {
    constexpr CellColour Black{}, Lime{false, 0, 255, 0}, ButtonFace{true};
    if (column != ValueColumn) return {ButtonFace, Black, 12};
    return {Black, stale ? StaleColour() : outOfRange ? WarningColour() : Lime, 14};
}
