#pragma once
#include <QColor>
#include <QSize>
#include <functional>

class QPainter;

namespace z5 {

struct TrendPage;
struct TrendChannels;

// Draws a page for one channel group in the plot's own coordinates, 545 x 347
// pixels from its top left corner: the date, the four times of day, the zero
// line, the dot grid, the time marks, the level lines and the four curves. The
// caller scales the painter to the size it draws at.
class TrendPlotPainter {
public:
    static constexpr int kWidth = 545;
    static constexpr int kHeight = 347;
    static constexpr int kZeroY = 220;        // 0 %
    static constexpr int kFirstRowX = 40;     // row 0
    static constexpr int kPixelsPerRow = 2;
    static constexpr int kPixelsPerPercent = 2;
    static constexpr int kFontPoints = 8;
    // A time of day starts this far right of its row.
    static constexpr int kTimeLabelOffset = 3;

    static QSize size() { return QSize(kWidth, kHeight); }
    static QColor axisColour() { return QColor(0, 0, 255); }

    // Clears the area and draws everything.
    static void draw(QPainter &painter, const TrendPage &page, int group, const TrendChannels &channels);
    // Only the curves of the group; a segment is drawn where both of its rows
    // are valid and hold samples, and a missing sample ends its own channel's curve.
    static void drawCurves(QPainter &painter, const TrendPage &page, int group, const TrendChannels &channels);

    // Plot x of a row and the row under a plot x (-1 outside the rows).
    static double rowX(int row) { return kFirstRowX + kPixelsPerRow * row; }
    static int rowAt(double x);
    // Plot x where time of day k (0..3) is written: at the row whose part
    // carried it (rows 0, 56, 112 and 184).
    static int timeLabelX(int k);
    static double percentY(float percent) { return kZeroY - kPixelsPerPercent * double(percent); }

    // Calls visit(row, channel) for every curve segment of a group, row by row
    // and within a row channel by channel. The end of the valid rows stops all
    // curves there; a missing sample ends only the curve of its own channel, so
    // a channel that records nothing hides none of the others. A segment is
    // drawn only when both of its rows are valid and hold samples, so a partly
    // recorded page ends where its samples end.
    static void forEachSegment(const TrendPage &page, int group, const std::function<void(int row, int channel)> &visit);
};

} // namespace z5
