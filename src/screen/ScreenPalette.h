#pragma once
#include <QRgb>

namespace z5 {

// The controller display's eight colours: a 3-bit index, bit 0 red, bit 1 green,
// bit 2 blue, each component either off or at full intensity.
class ScreenPalette {
public:
    static constexpr int kColours = 8;
    static constexpr int kStartThreshold = 120;

    // The colour an index stands for; an index outside 0..7 gives black.
    static QRgb colour(int index);
    static bool isIndex(int index) { return index >= 0 && index < kColours; }
    // A component counts as on only when strictly above the threshold.
    static int reduce(int red, int green, int blue, int threshold) {
        return (red > threshold ? 1 : 0) + (green > threshold ? 2 : 0) + (blue > threshold ? 4 : 0);
    }
    static int reduce(QRgb rgb, int threshold) { return reduce(qRed(rgb), qGreen(rgb), qBlue(rgb), threshold); }
};

} // namespace z5
