#pragma once
#include <QColor>
#include <QRectF>

class QPainter;
class QPaintDevice;

namespace z5 {

struct TrendPage;
struct TrendChannels;

// The printed page of one channel group, laid out in twips (1/1440 inch) from
// the top left of the printable area of a landscape page: the frame, the grid,
// the reference lines, the scale labels, the heading, the legend of the
// channels' scales, the time labels and the curves (76 twips per percent above
// the zero line, 30 below it). The one routine serves preview, paper and PDF.
class TrendPrintout {
public:
    static constexpr int kLeft = 1000;
    static constexpr int kRight = 14880;
    static constexpr int kTop = 540;
    static constexpr int kBottom = 10400;
    static constexpr int kZeroY = 8875;
    static constexpr int kHundredY = 1290;
    static constexpr int kRowTwips = 58;
    static constexpr int kPositiveTwipsPerPercent = 76;
    static constexpr int kNegativeTwipsPerPercent = 30;
    static constexpr int kLegendX = 15000;
    static constexpr int kFontTwips = 200;   // 10 points
    // Everything drawn lies within this extent, legend included.
    static constexpr int kExtentWidth = 16800;
    static constexpr int kExtentHeight = 10900;

    // Draws in twips: the painter's unit must already be one twip.
    static void paintTwips(QPainter &painter, const TrendPage &page, int group, const TrendChannels &channels);
    // Scales the painter so that one unit is one twip on the device, shrinking
    // the whole layout evenly if the printable area is smaller, and draws.
    static void paint(QPainter &painter, const QPaintDevice &device, const TrendPage &page, int group,
                      const TrendChannels &channels);
    // Twips x where time of day k (0..3) is printed: at the row whose part
    // carried it, as on the screen.
    static int timeLabelX(int k);
    // Device units per twip used by paint().
    static double scaleFor(const QPaintDevice &device);

    // The frame's colour, the grid's and the colours of the reference lines.
    static QColor frameColour() { return QColor(0, 255, 0); }
    static QColor gridColour() { return QColor(0x80, 0x80, 0xFF); }
};

} // namespace z5
