#pragma once
#include <QtGlobal>

namespace z5 {

// The stretch of time a history plot shows: where it starts and how long it
// is, in seconds on the controller's clock. Zooming keeps the time under a
// chosen point (the middle by default) where it is; the span stays between ten
// minutes and four weeks.
class HistoryView {
public:
    static constexpr qint64 kShortestSpan = 10 * 60;
    static constexpr qint64 kLongestSpan = 28 * 24 * 3600;
    static constexpr double kZoomStep = 2.0;
    // A step of the scroll buttons and arrow keys, as a part of the span.
    static constexpr double kScrollStep = 0.25;

    qint64 from() const { return from_; }
    qint64 span() const { return span_; }
    qint64 to() const { return from_ + span_; }

    // Shows [from, to], the span brought within its limits about the middle.
    void show(qint64 from, qint64 to);
    // By `factor` (above 1 nearer, below 1 further), keeping the time at
    // `fraction` (0 left edge, 1 right edge) in place.
    void zoom(double factor, double fraction = 0.5);
    void zoomIn() { zoom(kZoomStep); }
    void zoomOut() { zoom(1.0 / kZoomStep); }
    // On by `spans` spans (negative: back).
    void scroll(double spans);

    // Where a time stands across a width, and the time at an x.
    double xOf(qint64 seconds, double width) const;
    qint64 timeAt(double x, double width) const;

private:
    qint64 from_ = 0;
    qint64 span_ = 24 * 3600;
};

} // namespace z5
