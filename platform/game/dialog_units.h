#pragma once

#include <QRect>

namespace blok::qt {

// Dialog layouts are given in dialog units: a quarter of the dialog font's average character
// width horizontally and an eighth of its height vertically. We fix the base units per font
// instead of measuring, so every layout lands on the same pixels on every desktop.
struct DialogBaseUnits {
    int width;   // pixels per 4 horizontal units
    int height;  // pixels per 8 vertical units

    // Rounds half away from zero, like the classic integer multiply-divide.
    static int Scale(int value, int numerator, int denominator);

    int X(int units) const { return Scale(units, width, 4); }
    int Y(int units) const { return Scale(units, height, 8); }
    QRect ToPixels(int x, int y, int w, int h) const { return QRect(X(x), Y(y), X(w), Y(h)); }
};

// The start dialog's 10-point face: 1.75 x 2 pixels per unit (its top, 116 units, is row 232).
inline constexpr DialogBaseUnits kUnits10pt{7, 16};
// The about box's 8-point face: 1.5 x 1.625 pixels per unit.
inline constexpr DialogBaseUnits kUnits8pt{6, 13};

}  // namespace blok::qt
