#include "trends/TrendPageTimes.h"
#include "trends/TrendCursor.h"
#include "trends/TrendPage.h"
#include <QDate>
#include <QTime>

namespace z5 {

QDateTime TrendPageTimes::start(const TrendPage &page) {
    // The recorder keeps the year's last two digits.
    const QDate date(2000 + page.time[2], page.time[1], page.time[0]);
    const QTime time(page.time[3], page.time[4], page.time[5]);
    if (!date.isValid() || !time.isValid()) return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

QDateTime TrendPageTimes::rowTime(const TrendPage &page, int row) {
    const QDateTime begun = start(page);
    const int offset = TrendCursor::rowSecondsAfterFirst(page, row);
    if (!begun.isValid() || offset < 0) return QDateTime();
    return begun.addSecs(offset);
}

} // namespace z5
