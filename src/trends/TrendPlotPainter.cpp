#include "trends/TrendPlotPainter.h"
#include "trends/TrendChannels.h"
#include "trends/TrendCursor.h"
#include "trends/TrendPage.h"
#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace z5 {
namespace {

void dot(QPainter &p, int x, int y) { p.drawPoint(x, y); }

} // namespace

int TrendPlotPainter::timeLabelX(int k) {
    return int(rowX(TrendCursor::kLabelledRows[std::clamp(k, 0, 3)])) + kTimeLabelOffset;
}

int TrendPlotPainter::rowAt(double x) {
    const int row = static_cast<int>(std::lround((x - kFirstRowX) / kPixelsPerRow));
    return row >= 0 && row < TrendPage::kRows ? row : -1;
}

void TrendPlotPainter::forEachSegment(const TrendPage &page, int group,
                                      const std::function<void(int, int)> &visit) {
    const int first = TrendPage::firstChannelOf(group);
    // A channel's curve ends at its first missing sample; the others go on.
    bool ended[TrendPage::kChannelsPerGroup] = {};
    const int rows = std::min(page.rowCount, TrendPage::kRows);
    for (int r = 0; r + 1 < rows; ++r) {
        for (int k = 0; k < TrendPage::kChannelsPerGroup; ++k) {
            const int c = first + k;
            if (ended[k]) continue;
            if (!page.hasSample(r, c) || !page.hasSample(r + 1, c)) {
                ended[k] = true;
                continue;
            }
            visit(r, c);
        }
    }
}

void TrendPlotPainter::draw(QPainter &p, const TrendPage &page, int group, const TrendChannels &channels) {
    p.save();
    p.fillRect(QRect(0, 0, kWidth, kHeight), Qt::white);
    const QColor blue = axisColour();
    QFont font = p.font();
    font.setPointSize(kFontPoints);
    p.setFont(font);
    QPen pen(blue);
    pen.setWidth(1);
    p.setPen(pen);

    // Texts stand below their position, as a window's current point puts them.
    const int ascent = p.fontMetrics().ascent();
    p.drawText(46, 2 + ascent, page.dateText());
    // Each time of day stands at the row whose part carried it.
    for (int k = 0; k < 4; ++k) p.drawText(timeLabelX(k), 322 + ascent, page.timeText(k));

    p.drawLine(38, kZeroY, 518, kZeroY);
    for (int f = 0; f <= 14; ++f)
        for (int e = 0; e <= 23; ++e) dot(p, 58 + 20 * e, 20 + 20 * f);
    for (int f = 0; f <= 3; ++f)
        for (int e = 0; e <= 30; ++e) dot(p, 158 + 120 * f, 20 + 10 * e);
    for (int e = 0; e <= 46; ++e) {
        const int x = 48 + 10 * e;
        p.setPen(blue);
        dot(p, x, 120);
        p.setPen(QColor(0, 255, 0));
        dot(p, x, 320);
        p.setPen(QColor(255, 0, 0));
        dot(p, x, 20);
    }
    drawCurves(p, page, group, channels);
    p.restore();
}

void TrendPlotPainter::drawCurves(QPainter &p, const TrendPage &page, int group, const TrendChannels &channels) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    forEachSegment(page, group, [&](int r, int c) {
        p.setPen(QPen(trendChannelColour(c), 1));
        const double y1 = percentY(channels.percent(page.sample(r, c), c));
        const double y2 = percentY(channels.percent(page.sample(r + 1, c), c));
        p.drawLine(QPointF(rowX(r), y1), QPointF(rowX(r) + kPixelsPerRow, y2));
    });
    p.restore();
}

} // namespace z5
