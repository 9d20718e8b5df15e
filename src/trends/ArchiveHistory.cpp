#include "trends/ArchiveHistory.h"
#include "trends/TrendPageTimes.h"
#include <algorithm>
#include <limits>

namespace z5 {
namespace {

// Seconds between a page's rows on average; 0 when it has fewer than two.
double rowPace(const TrendPage &page, const QDateTime &start) {
    if (page.rowCount < 2) return 0;
    const QDateTime last = TrendPageTimes::rowTime(page, page.rowCount - 1);
    if (!start.isValid() || !last.isValid()) return 0;
    return double(start.secsTo(last)) / double(page.rowCount - 1);
}

} // namespace

ArchiveHistory ArchiveHistory::fromPages(std::vector<ArchivedPage> pages, const QDateTime &from, const QDateTime &to) {
    ArchiveHistory h;
    std::stable_sort(pages.begin(), pages.end(),
                     [](const ArchivedPage &a, const ArchivedPage &b) { return a.key.start < b.key.start; });
    h.pages_ = std::move(pages);
    const qint64 low = from.isValid() ? from.toSecsSinceEpoch() : std::numeric_limits<qint64>::min();
    const qint64 high = to.isValid() ? to.toSecsSinceEpoch() : std::numeric_limits<qint64>::max();
    std::vector<double> paces(h.pages_.size(), 0.0);
    std::vector<int> lastRow(h.pages_.size(), -1);
    for (std::size_t p = 0; p < h.pages_.size(); ++p) {
        const TrendPage &page = h.pages_[p].page;
        const QDateTime start = TrendPageTimes::start(page);
        if (!start.isValid()) continue;
        paces[p] = rowPace(page, start);
        const qint64 begun = start.toSecsSinceEpoch();
        const int rows = std::min(page.rowCount, TrendPage::kRows);
        lastRow[p] = rows - 1;
        for (int r = 0; r < rows; ++r) {
            const QDateTime t = TrendPageTimes::rowTime(page, r);
            if (!t.isValid()) continue;
            const qint64 s = begun + start.secsTo(t);
            if (s < low || s > high) continue;
            h.rows_.push_back(Row{s, int(p), r, false});
        }
    }
    // Pages that overlap in time (a clock set back) are interleaved by time and
    // joined nowhere across each other.
    std::stable_sort(h.rows_.begin(), h.rows_.end(), [](const Row &a, const Row &b) { return a.seconds < b.seconds; });
    for (std::size_t i = 1; i < h.rows_.size(); ++i) {
        const Row &before = h.rows_[i - 1];
        Row &row = h.rows_[i];
        if (row.page == before.page) {
            row.joins = row.pageRow == before.pageRow + 1;
            continue;
        }
        // Another page: only the first row of a page goes on from the last row of the one before.
        if (before.pageRow != lastRow[std::size_t(before.page)] || row.pageRow != 0) continue;
        const double pace = std::max(paces[std::size_t(before.page)], paces[std::size_t(row.page)]);
        const qint64 step = row.seconds - before.seconds;
        row.joins = pace > 0 && step > 0 && double(step) <= kJoinPaces * pace + 1.0;
    }
    return h;
}

QDateTime ArchiveHistory::timeAt(int row) const { return QDateTime::fromSecsSinceEpoch(secondsAt(row), Qt::UTC); }

float ArchiveHistory::sample(int row, int channel) const {
    const Row &r = rows_[std::size_t(row)];
    return pages_[std::size_t(r.page)].page.sample(r.pageRow, channel);
}

bool ArchiveHistory::hasSample(int row, int channel) const { return !TrendPage::isMissing(sample(row, channel)); }

int ArchiveHistory::gapCount() const {
    int gaps = 0;
    for (std::size_t i = 1; i < rows_.size(); ++i)
        if (!rows_[i].joins) ++gaps;
    return gaps;
}

int ArchiveHistory::firstRowFrom(qint64 seconds) const {
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), seconds,
                                     [](const Row &r, qint64 s) { return r.seconds < s; });
    return int(at - rows_.begin());
}

int ArchiveHistory::pageNumberAt(int row) const { return pages_[std::size_t(rows_[std::size_t(row)].page)].page.pageNumber; }

QString ArchiveHistory::timeText(const QDateTime &time) { return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

} // namespace z5
