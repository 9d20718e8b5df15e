#include "screen/ScreenPalette.h"

namespace z5 {

QRgb ScreenPalette::colour(int index) {
    if (!isIndex(index)) return qRgb(0, 0, 0);
    return qRgb(index & 1 ? 255 : 0, index & 2 ? 255 : 0, index & 4 ? 255 : 0);
}

} // namespace z5
