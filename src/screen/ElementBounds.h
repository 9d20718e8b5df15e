#pragma once
#include "screen/ScreenElement.h"
#include <QString>

namespace z5 {

// Where each element control may go over the preview, in twips, and the X/Y
// pixel numbers the element dialogs show for a control position.
class ElementBounds {
public:
    struct Range {
        int min = 0;
        int max = 0;
        bool contains(int v) const { return v >= min && v <= max; }
        int clamp(int v) const { return v < min ? min : (v > max ? max : v); }
        bool operator==(const Range &o) const { return min == o.min && max == o.max; }
    };

    // A number box further right is sent off the screen by the build, though its
    // digit count would let it be dragged on to 9920.
    static constexpr int kLastShownNumberLeft = 9839;
    static constexpr int kScreenWidth = 320;
    static constexpr int kScreenHeight = 240;

    static Range left(ControlKind kind, int digits);
    static Range top(ControlKind kind);

    // Dragging moves by whole screen pixels: twips rounded down to a multiple of 30.
    static int snap(int twips);

    // The dialogs count from 1: X = (left - 420) div 30 + 1, Y = (top - 270) div 30 + 1;
    // "Ok" puts the control at left 30X + 390, top 30Y + 240.
    static int dialogX(int left);
    static int dialogY(int top);
    static int leftOfDialogX(int x);
    static int topOfDialogY(int y);
    // The dialog coordinates at which the control stays on the preview, on the
    // controller and within its drag bounds.
    static Range dialogXRange(ControlKind kind, int digits);
    static Range dialogYRange(ControlKind kind);

    // What a coordinate field shows after the user typed `typed`: a number outside
    // the range is pulled into it, anything else stays as typed.
    static QString corrected(const QString &typed, Range range);
    // The number in a coordinate field; false when it is not one.
    static bool parse(const QString &typed, int *value);
};

} // namespace z5
