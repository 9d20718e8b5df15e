#include "trends/TrendCursor.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPage.h"
#include <cmath>

namespace z5 {
namespace {

constexpr int kDaySeconds = 24 * 3600;

} // namespace

int TrendCursor::rowSeconds(const TrendPage &page, int row) {
    const int after = rowSecondsAfterFirst(page, row);
    return after < 0 ? -1 : (page.timeSeconds(0) + after) % kDaySeconds;
}

int TrendCursor::rowSecondsAfterFirst(const TrendPage &page, int row) {
    if (!page.hasTimes() || row < 0 || row >= TrendPage::kRows) return -1;
    // Times of day only grow along a page; a smaller one has passed midnight.
    double t[4];
    for (int k = 0; k < 4; ++k) {
        t[k] = page.timeSeconds(k);
        if (k > 0)
            while (t[k] < t[k - 1]) t[k] += kDaySeconds;
    }
    int k = 0;
    while (k < 2 && row > kLabelledRows[k + 1]) ++k;
    const double slope = (t[k + 1] - t[k]) / double(kLabelledRows[k + 1] - kLabelledRows[k]);
    const double at = t[k] + slope * (row - kLabelledRows[k]);
    return static_cast<int>(std::lround(at - t[0]));
}

QString TrendCursor::clockText(int seconds) {
    if (seconds < 0) return QString();
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString TrendCursor::readout(const TrendPage &page, int group, const TrendChannels &channels, int row) {
    if (row < 0 || row >= TrendPage::kRows) return QString();
    QString text = QStringLiteral("Строка %1").arg(row + 1);
    const QString time = clockText(rowSeconds(page, row));
    if (!time.isEmpty()) text += QStringLiteral("   ") + time;
    const int first = TrendPage::firstChannelOf(group);
    for (int c = first; c < first + TrendPage::kChannelsPerGroup; ++c) {
        const QString name = channels.name(c).trimmed().isEmpty() ? QString::number(c + 1) : channels.name(c).trimmed();
        const bool valid = row < page.rowCount && page.hasSample(row, c);
        text += QStringLiteral("   %1: %2").arg(name, valid ? QString::number(double(page.sample(row, c)), 'f', 3)
                                                           : QStringLiteral("нет"));
    }
    return text;
}

} // namespace z5
