#include "trends/HistoryPlotPainter.h"
#include "trends/ArchiveHistory.h"
#include "trends/HistoryView.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPage.h"
#include "trends/TrendPlotPainter.h"
#include <QDateTime>
#include <QPainter>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <limits>

namespace z5 {
namespace {

constexpr qint64 kDay = 24 * 3600;
constexpr float kHighestPercent = 100.0f;
constexpr float kLowestPercent = -50.0f;

QString markText(qint64 seconds, qint64 step, bool first) {
    const QDateTime t = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    if (step >= kDay) return t.toString(QStringLiteral("dd.MM"));
    if (first || t.time() == QTime(0, 0)) return t.toString(QStringLiteral("dd.MM HH:mm"));
    return t.toString(QStringLiteral("HH:mm"));
}

} // namespace

QRectF HistoryPlotPainter::plotArea(const QRectF &all) {
    return all.adjusted(kLeftMargin, kTopMargin, -kRightMargin, -kBottomMargin);
}

double HistoryPlotPainter::percentY(float percent, const QRectF &area) {
    return area.top() + double(kHighestPercent - percent) / double(kHighestPercent - kLowestPercent) * area.height();
}

qint64 HistoryPlotPainter::markStep(qint64 span, double width, double gap) {
    static const qint64 steps[] = {60, 120, 300, 600, 900, 1800, 3600, 7200, 10800, 21600, 43200, kDay, 2 * kDay, 7 * kDay};
    for (qint64 s : steps)
        if (width <= 0 || double(s) * width / double(span) >= gap) return s;
    return 7 * kDay;
}

void HistoryPlotPainter::forEachRun(const ArchiveHistory &history, const HistoryView &view, int channel,
                                    const TrendChannels &channels, const QRectF &area,
                                    const std::function<void(const QVector<QPointF> &)> &run) {
    if (history.isEmpty()) return;
    // One row either side of the view, so curves run on to its edges.
    const int first = std::max(history.firstRowFrom(view.from()) - 1, 0);
    const int end = std::min(history.firstRowFrom(view.to() + 1) + 1, history.rowCount());
    QVector<QPointF> points;
    // The pixel column being gathered: its rows' count, the first row's x, and
    // the first, lowest, highest and last y.
    int column = 0, rowsInColumn = 0;
    double columnX = 0, firstY = 0, lowY = 0, highY = 0, lastY = 0;
    const auto flushColumn = [&] {
        if (rowsInColumn == 1) {
            points << QPointF(columnX, firstY);
        } else if (rowsInColumn > 1) {
            const double x = column + 0.5;
            points << QPointF(x, firstY) << QPointF(x, lowY) << QPointF(x, highY) << QPointF(x, lastY);
        }
        rowsInColumn = 0;
    };
    const auto endRun = [&] {
        flushColumn();
        if (!points.isEmpty()) run(points);
        points.clear();
    };
    for (int r = first; r < end; ++r) {
        if (!history.joinsPrevious(r) || !history.hasSample(r, channel)) endRun();
        if (!history.hasSample(r, channel)) continue;
        const double x = area.left() + view.xOf(history.secondsAt(r), area.width());
        const double y = percentY(channels.percent(history.sample(r, channel), channel), area);
        const int px = int(std::floor(x));
        if (rowsInColumn > 0 && px == column) {
            lowY = std::min(lowY, y);
            highY = std::max(highY, y);
            lastY = y;
            ++rowsInColumn;
            continue;
        }
        flushColumn();
        column = px;
        columnX = x;
        firstY = lowY = highY = lastY = y;
        rowsInColumn = 1;
    }
    endRun();
}

void HistoryPlotPainter::draw(QPainter &p, const QRectF &all, const ArchiveHistory &history, const HistoryView &view,
                              int group, const TrendChannels &channels) {
    p.save();
    p.fillRect(all, Qt::white);
    const QRectF area = plotArea(all);
    const QColor blue = TrendPlotPainter::axisColour();
    QFont font = p.font();
    font.setPointSize(TrendPlotPainter::kFontPoints);
    p.setFont(font);
    const QFontMetricsF metrics(font);

    // Time no row covers: before the first row, after the last, and every gap.
    const QColor uncovered(232, 232, 232);
    const auto shade = [&](qint64 a, qint64 b) {
        const double x1 = std::max(area.left(), area.left() + view.xOf(a, area.width()));
        const double x2 = std::min(area.right(), area.left() + view.xOf(b, area.width()));
        if (x2 > x1) p.fillRect(QRectF(x1, area.top(), x2 - x1, area.height()), uncovered);
    };
    if (history.isEmpty()) {
        shade(view.from(), view.to());
    } else {
        shade(view.from(), history.secondsAt(0));
        shade(history.secondsAt(history.rowCount() - 1), view.to());
        const int first = std::max(history.firstRowFrom(view.from()), 1);
        const int end = std::min(history.firstRowFrom(view.to()) + 1, history.rowCount());
        for (int r = first; r < end; ++r)
            if (!history.joinsPrevious(r)) shade(history.secondsAt(r - 1), history.secondsAt(r));
    }

    // Percent lines every 25 %, 0 % solid, and their labels.
    for (int percent = -50; percent <= 100; percent += 25) {
        const double y = percentY(float(percent), area);
        p.setPen(QPen(blue, 1, percent == 0 ? Qt::SolidLine : Qt::DotLine));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        const QString label = QString::number(percent);
        p.drawText(QPointF(area.left() - 4 - metrics.horizontalAdvance(label), y + metrics.ascent() / 2 - 1), label);
    }
    // Time marks at whole steps of the controller's clock.
    const qint64 step = markStep(view.span(), area.width());
    qint64 mark = view.from() - ((view.from() % step) + step) % step;
    if (mark < view.from()) mark += step;
    bool firstMark = true;
    for (; mark <= view.to(); mark += step) {
        const double x = area.left() + view.xOf(mark, area.width());
        p.setPen(QPen(blue, 1, Qt::DotLine));
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        const QString label = markText(mark, step, firstMark);
        firstMark = false;
        const double w = metrics.horizontalAdvance(label);
        const double left = std::clamp(x - w / 2, all.left(), all.right() - w);
        p.setPen(blue);
        p.drawText(QPointF(left, area.bottom() + 4 + metrics.ascent()), label);
    }
    p.setPen(QPen(blue, 1));
    p.drawRect(area);

    p.setClipRect(area);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int firstChannel = TrendPage::firstChannelOf(group);
    for (int c = firstChannel; c < firstChannel + TrendPage::kChannelsPerGroup; ++c) {
        p.setPen(QPen(trendChannelColour(c), 1));
        forEachRun(history, view, c, channels, area, [&](const QVector<QPointF> &points) {
            // A row with a gap on either side stands as a dot.
            if (points.size() == 1)
                p.drawPoint(points.front());
            else
                p.drawPolyline(points.constData(), int(points.size()));
        });
    }
    p.restore();
}

} // namespace z5
