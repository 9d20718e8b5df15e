#pragma once
// Archive pages made to order: where a page begins, how far apart its rows are
// and how many are valid; each sample tells its page, row and channel apart.
#include "trends/ArchivePages.h"
#include "trends/TrendPageTimes.h"
#include <QDateTime>

namespace z5::testing {

// The sample of (page, row, channel): page x 1000 + row + channel / 100.
inline float datedSample(int page, int row, int channel) { return float(page * 1000 + row) + float(channel) / 100.0f; }

inline QDateTime at(const char *isoUtc) { return QDateTime::fromString(QString::fromLatin1(isoUtc), Qt::ISODate).toUTC(); }

// Page `number` of recorder `block` at station 1, begun at `start`, a row every
// `pace` seconds (the four time marks of rows 0, 56, 112 and 184 say so), its
// first `rows` rows recorded.
inline ArchivedPage datedPage(int number, const QDateTime &start, int pace, int rows, int block = 10) {
    ArchivedPage a;
    const QDate d = start.date();
    a.page.time[0] = std::uint8_t(d.day());
    a.page.time[1] = std::uint8_t(d.month());
    a.page.time[2] = std::uint8_t(d.year() - 2000);
    const int marks[4] = {0, 56, 112, 184};
    for (int k = 0; k < 4; ++k) {
        const QTime t = start.addSecs(qint64(marks[k]) * pace).time();
        a.page.time[std::size_t(3 + 3 * k)] = std::uint8_t(t.hour());
        a.page.time[std::size_t(4 + 3 * k)] = std::uint8_t(t.minute());
        a.page.time[std::size_t(5 + 3 * k)] = std::uint8_t(t.second());
    }
    a.page.pageNumber = number;
    a.page.rowCount = rows;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < TrendPage::kChannels; ++c) a.page.setSample(r, c, datedSample(number, r, c));
    a.finished = rows == TrendPage::kRows;
    a.key = ArchivePageKey{1, block, TrendPageTimes::start(a.page)};
    return a;
}

} // namespace z5::testing
