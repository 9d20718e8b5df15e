#include "trends/TrendPage.h"
#include <cmath>

namespace z5 {

float TrendPage::sample(int row, int channel) const {
    if (row < 0 || row >= kRows || channel < 0 || channel >= kChannels) return kMissingLimit;
    return samples[static_cast<std::size_t>(row * kChannels + channel)];
}

void TrendPage::setSample(int row, int channel, float value) {
    if (row < 0 || row >= kRows || channel < 0 || channel >= kChannels) return;
    samples[static_cast<std::size_t>(row * kChannels + channel)] = value;
}

QString TrendPage::dateText() const {
    return QStringLiteral("%1 / %2 / %3").arg(time[0]).arg(time[1]).arg(time[2]);
}

QString TrendPage::timeText(int k) const {
    if (k < 0 || k > 3) return QString();
    const std::size_t at = static_cast<std::size_t>(3 + 3 * k);
    return QStringLiteral("%1 : %2 : %3").arg(time[at]).arg(time[at + 1]).arg(time[at + 2]);
}

int TrendPage::timeSeconds(int k) const {
    if (k < 0 || k > 3) return -1;
    const std::size_t at = static_cast<std::size_t>(3 + 3 * k);
    return time[at] * 3600 + time[at + 1] * 60 + time[at + 2];
}

bool TrendPage::hasTimes() const {
    for (std::size_t i = 3; i < time.size(); ++i)
        if (time[i] != 0) return true;
    return false;
}

int clampPageNumber(long long page) {
    if (page < TrendPage::kFirstPage) return TrendPage::kFirstPage;
    if (page > TrendPage::kLastPage) return TrendPage::kLastPage;
    return static_cast<int>(page);
}

int pageNumberFromText(const QString &text) {
    // The leading number: optional blanks and sign, digits, an optional point and digits.
    int i = 0;
    const int n = text.size();
    while (i < n && text[i].isSpace()) ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    double value = 0.0;
    bool digits = false;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        digits = true;
        // Past the last page every longer number clamps the same way.
        if (value < 1e6) value = value * 10.0 + (text[i].unicode() - u'0');
    }
    if (i < n && text[i] == u'.') {
        double scale = 0.1;
        for (++i; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i, scale /= 10.0) {
            digits = true;
            value += (text[i].unicode() - u'0') * scale;
        }
    }
    if (!digits) return TrendPage::kFirstPage;
    const double rounded = std::nearbyint(negative ? -value : value);
    return clampPageNumber(static_cast<long long>(rounded));
}

} // namespace z5
