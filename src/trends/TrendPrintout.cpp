#include "trends/TrendPrintout.h"
#include "trends/TrendChannels.h"
#include "trends/TrendCursor.h"
#include "trends/TrendPage.h"
#include "trends/TrendPlotPainter.h"
#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

namespace z5 {
namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

// Texts are placed by their top left corner, as a printer's current point puts them.
void textAt(QPainter &p, int x, int y, const QString &text, const QColor &colour) {
    p.setPen(colour);
    p.drawText(QPointF(x, y + p.fontMetrics().ascent()), text);
}

QString limitText(float value) { return QString::number(double(value), 'g', 7); }

void drawCurve(QPainter &p, const TrendPage &page, const TrendChannels &channels, int r, int c) {
    const double p1 = channels.percent(page.sample(r, c), c);
    const double p2 = channels.percent(page.sample(r + 1, c), c);
    const double x1 = TrendPrintout::kLeft + TrendPrintout::kRowTwips * r;
    const double x2 = x1 + TrendPrintout::kRowTwips;
    const auto y = [](double percent) {
        return TrendPrintout::kZeroY - (percent >= 0 ? TrendPrintout::kPositiveTwipsPerPercent
                                                     : TrendPrintout::kNegativeTwipsPerPercent) *
                                           percent;
    };
    if ((p1 >= 0 && p2 >= 0) || (p1 <= 0 && p2 <= 0)) {
        p.drawLine(QPointF(x1, y(p1)), QPointF(x2, y(p2)));
        return;
    }
    // The two scales meet at the zero line.
    p.drawLine(QPointF(x1, y(p1)), QPointF(x1, TrendPrintout::kZeroY));
    p.drawLine(QPointF(x1, TrendPrintout::kZeroY), QPointF(x2, y(p2)));
}

} // namespace

int TrendPrintout::timeLabelX(int k) {
    return kLeft + kRowTwips * TrendCursor::kLabelledRows[std::clamp(k, 0, 3)];
}

double TrendPrintout::scaleFor(const QPaintDevice &device) {
    const double perTwipX = device.logicalDpiX() / 1440.0;
    const double perTwipY = device.logicalDpiY() / 1440.0;
    const double fit = std::min(device.width() / (kExtentWidth * perTwipX), device.height() / (kExtentHeight * perTwipY));
    return std::min(perTwipX, perTwipY) * std::min(1.0, fit);
}

void TrendPrintout::paint(QPainter &painter, const QPaintDevice &device, const TrendPage &page, int group,
                          const TrendChannels &channels) {
    painter.save();
    const double s = scaleFor(device);
    painter.scale(s, s);
    paintTwips(painter, page, group, channels);
    painter.restore();
}

void TrendPrintout::paintTwips(QPainter &p, const TrendPage &page, int group, const TrendChannels &channels) {
    p.save();
    QFont font = p.font();
    font.setPixelSize(kFontTwips);
    p.setFont(font);
    p.setBrush(Qt::NoBrush);

    p.setPen(QPen(kGreen, 30, Qt::SolidLine));
    p.drawRect(QRectF(kLeft, kTop, kRight - kLeft, kBottom - kTop));

    p.setPen(QPen(gridColour(), 10, Qt::DotLine));
    for (int k = 0; k <= 12; ++k) p.drawLine(kLeft, kTop + 759 * k, kRight, kTop + 759 * k);
    for (int k = 0; k <= 4; ++k) p.drawLine(kLeft + 3470 * k, kTop, kLeft + 3470 * k, kBottom);

    p.setPen(QPen(kBlue, 10));
    p.drawLine(kLeft, kZeroY, kRight, kZeroY);
    p.setPen(QPen(kRed, 10));
    p.drawLine(kLeft, kHundredY, kRight, kHundredY);

    for (int k = 0; k <= 9; ++k) textAt(p, 400, 8000 - 755 * k, QStringLiteral("%1%").arg(10 * (k + 1)), kRed);
    textAt(p, 400, 8755, QStringLiteral("0%"), kGreen);
    textAt(p, 400, 9505, QStringLiteral("50%"), kBlue);
    textAt(p, 400, 10255, QStringLiteral("100%"), kBlue);

    textAt(p, 2500, 300, page.dateText(), kBlue);
    textAt(p, 4000, 300, QStringLiteral("Графики:   "), kBlue);
    textAt(p, 5000, 300, channels.title, Qt::black);

    textAt(p, kLegendX, 540, QStringLiteral("Масштаб"), Qt::black);
    textAt(p, kLegendX, 740, QStringLiteral("каналов-/+"), Qt::black);
    const int first = TrendPage::firstChannelOf(group);
    int y = 1200;
    for (int c = first; c < first + TrendPage::kChannelsPerGroup; ++c) {
        const TrendChannels::Scale s = channels.scale(c);
        textAt(p, kLegendX, y, limitText(s.low) + u'\\' + limitText(s.high), trendChannelColour(c));
        y += p.fontMetrics().height() + 100;
    }

    for (int k = 0; k < 4; ++k) textAt(p, timeLabelX(k), 10500, page.timeText(k), kBlue);

    TrendPlotPainter::forEachSegment(page, group, [&](int r, int c) {
        p.setPen(QPen(trendChannelColour(c), 15, Qt::SolidLine, Qt::RoundCap));
        drawCurve(p, page, channels, r, c);
    });
    p.restore();
}

} // namespace z5
