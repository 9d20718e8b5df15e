#include "screen/ScreenGeometry.h"
#include <algorithm>

namespace z5 {

ScreenGeometry::KindGeometry ScreenGeometry::kindGeometry(int kind) {
    // The level and gauge pictures are anchored at their own reference points, so
    // each kind shifts the position differently; the number box counts from 1.
    switch (kind) {
    case 0: return {1, 9840, 0};
    case 1: return {0, 10400, 27};
    case 2: return {0, 10400, 58};
    case 3: return {20, 9300, 20};
    default: return {0, kOriginLeft, 0};  // no such kind: every position is off the preview
    }
}

int ScreenGeometry::toPixel(int twips, int origin, int limit, int offset) {
    if (twips < origin || twips >= limit) return kOffScreen;
    return (twips - origin) / kTwipsPerPixel + offset;
}

int ScreenGeometry::parameterX(int kind, int left) {
    const KindGeometry g = kindGeometry(kind);
    return toPixel(left, kOriginLeft, g.leftLimit, g.xOffset);
}

int ScreenGeometry::parameterY(int kind, int top) {
    if (kind < 0 || kind > 3) return kOffScreen;
    return toPixel(top, kOriginTop, kTopLimit, kindGeometry(kind).yOffset);
}

int ScreenGeometry::alarmX(int left) { return toPixel(left, kOriginLeft, 10300, 0); }

int ScreenGeometry::alarmY(int top) { return toPixel(top, kOriginTop, kTopLimit, 0); }

int ScreenGeometry::toTwips(int pixel, int offset, int origin) {
    // A word read from a file may hold any 32-bit value; far positions stay far
    // (and off the preview) without overflowing.
    const long long twips = static_cast<long long>(kTwipsPerPixel) * (static_cast<long long>(pixel) - offset) + origin;
    return static_cast<int>(std::clamp<long long>(twips, -kFarAway, kFarAway));
}

int ScreenGeometry::parameterLeft(int kind, int x) { return toTwips(x, kindGeometry(kind).xOffset, kOriginLeft); }

int ScreenGeometry::parameterTop(int kind, int y) { return toTwips(y, kindGeometry(kind).yOffset, kOriginTop); }

int ScreenGeometry::alarmLeft(int x) { return toTwips(x, 0, kOriginLeft); }

int ScreenGeometry::alarmTop(int y) { return toTwips(y, 0, kOriginTop); }

} // namespace z5
