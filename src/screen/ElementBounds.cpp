#include "screen/ElementBounds.h"
#include "screen/ScreenGeometry.h"
#include <algorithm>

namespace z5 {

namespace {
constexpr int kPixel = ScreenGeometry::kTwipsPerPixel;
// "Ok" places a control one pixel before the origin of the X/Y it shows.
constexpr int kDialogLeftBase = ScreenGeometry::kOriginLeft - kPixel;  // 390
constexpr int kDialogTopBase = 240;

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
} // namespace

ElementBounds::Range ElementBounds::left(ControlKind kind, int digits) {
    const int origin = ScreenGeometry::kOriginLeft;
    switch (kind) {
    case ControlKind::AlarmMarker:
    case ControlKind::Level1Picture:
    case ControlKind::Level2Picture: return {origin, 9880};
    case ControlKind::GaugePicture: return {origin, 8835};
    case ControlKind::NumberBox: return {origin, std::min(10280 - 180 * digits, kLastShownNumberLeft)};
    case ControlKind::AlarmText: return {origin, 10280 - 180 * digits};
    }
    return {origin, origin};
}

ElementBounds::Range ElementBounds::top(ControlKind kind) {
    const int origin = ScreenGeometry::kOriginTop;
    switch (kind) {
    case ControlKind::AlarmMarker: return {origin, 7315};
    case ControlKind::Level1Picture: return {origin, 6555};
    case ControlKind::Level2Picture: return {origin, 5700};
    case ControlKind::GaugePicture: return {origin, 6194};
    case ControlKind::NumberBox:
    case ControlKind::AlarmText: return {origin, 7293};
    }
    return {origin, origin};
}

int ElementBounds::snap(int twips) { return floorDiv(twips, kPixel) * kPixel; }

int ElementBounds::dialogX(int left) { return (left - ScreenGeometry::kOriginLeft) / kPixel + 1; }

int ElementBounds::dialogY(int top) { return (top - ScreenGeometry::kOriginTop) / kPixel + 1; }

int ElementBounds::leftOfDialogX(int x) { return kPixel * x + kDialogLeftBase; }

int ElementBounds::topOfDialogY(int y) { return kPixel * y + kDialogTopBase; }

ElementBounds::Range ElementBounds::dialogXRange(ControlKind kind, int digits) {
    return {1, std::min(kScreenWidth, (left(kind, digits).max - kDialogLeftBase) / kPixel)};
}

ElementBounds::Range ElementBounds::dialogYRange(ControlKind kind) {
    return {1, std::min(kScreenHeight, (top(kind).max - kDialogTopBase) / kPixel)};
}

bool ElementBounds::parse(const QString &typed, int *value) {
    bool ok = false;
    const int v = typed.trimmed().toInt(&ok);
    if (ok && value) *value = v;
    return ok;
}

QString ElementBounds::corrected(const QString &typed, Range range) {
    int v = 0;
    if (!parse(typed, &v) || range.contains(v)) return typed;
    return QString::number(range.clamp(v));
}

} // namespace z5
