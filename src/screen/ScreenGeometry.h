#pragma once

namespace z5 {

// Where the designer's element controls sit over the preview, in twips, and the
// screen pixels they stand for. One screen pixel is 30 twips; the preview's
// origin is at left 420, top 270.
class ScreenGeometry {
public:
    static constexpr int kTwipsPerPixel = 30;
    static constexpr int kOriginLeft = 420;
    static constexpr int kOriginTop = 270;
    static constexpr int kTopLimit = 7740;
    // The coordinate sent for an element outside the preview.
    static constexpr int kOffScreen = 500;

    // Pixel coordinates of a parameter of the given kind (0..3) from its control's
    // position; kOffScreen when the position lies outside that kind's range.
    static int parameterX(int kind, int left);
    static int parameterY(int kind, int top);
    // Pixel coordinates of an alarm element (text box or marker).
    static int alarmX(int left);
    static int alarmY(int top);

    // The control positions from which the functions above give back x and y.
    static int parameterLeft(int kind, int x);
    static int parameterTop(int kind, int y);
    static int alarmLeft(int x);
    static int alarmTop(int y);

private:
    struct KindGeometry {
        int xOffset;    // added to the pixel column
        int leftLimit;  // first Left that is off the preview
        int yOffset;    // added to the pixel row
    };
    static KindGeometry kindGeometry(int kind);
    static int toPixel(int twips, int origin, int limit, int offset);
    static int toTwips(int pixel, int offset, int origin);
    static constexpr long long kFarAway = 1 << 24;
};

} // namespace z5
