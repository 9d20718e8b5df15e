#pragma once
#include <QColor>
#include <QRectF>
#include <functional>

class QPainter;

namespace z5 {

class ArchiveHistory;
class HistoryView;
struct TrendChannels;

// Draws a stretch of history for one channel group into a rectangle: the
// percent grid and labels of a page (-50 to 100 %), time marks spaced for the
// span shown, the time no row covers shaded, and the group's four curves.
// A curve never joins two rows with a gap or a missing sample between them.
// Where more rows than pixels fall on the width, each pixel column keeps the
// lowest and highest of its rows, so a week draws as fast as an hour.
class HistoryPlotPainter {
public:
    static constexpr double kLeftMargin = 40;     // percent labels
    static constexpr double kBottomMargin = 30;   // time labels
    static constexpr double kTopMargin = 6;
    static constexpr double kRightMargin = 8;

    // The curves' area inside the rectangle drawn into.
    static QRectF plotArea(const QRectF &all);
    static double percentY(float percent, const QRectF &area);

    static void draw(QPainter &painter, const QRectF &all, const ArchiveHistory &history, const HistoryView &view,
                     int group, const TrendChannels &channels);

    // The seconds between two time marks for a span over a width: the first of
    // 1, 2, 5, 10, 15, 30 min, 1, 2, 3, 6, 12 h, 1, 2, 7 days that keeps the marks
    // at least `gap` pixels apart.
    static qint64 markStep(qint64 span, double width, double gap = 90);

    // Calls run(points) with each unbroken stretch of a channel's curve within
    // the view, in plot coordinates of `area`.
    static void forEachRun(const ArchiveHistory &history, const HistoryView &view, int channel,
                           const TrendChannels &channels, const QRectF &area,
                           const std::function<void(const QVector<QPointF> &points)> &run);
};

} // namespace z5
