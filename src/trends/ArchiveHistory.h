#pragma once
#include "trends/ArchivePages.h"
#include <QDateTime>
#include <QString>
#include <vector>

namespace z5 {

// The stored pages of one recorder as one run of rows in time order: each row
// with its date and time (from its page's time marks) and its 32 samples. Rows
// are only ever the pages' own; where one page does not go on from the one
// before (time passed between them that no row covers) the history has a gap,
// and a curve drawn along it must break there.
class ArchiveHistory {
public:
    ArchiveHistory() = default;
    // The valid rows of the pages within [from, to] (an invalid bound is open).
    static ArchiveHistory fromPages(std::vector<ArchivedPage> pages, const QDateTime &from = {},
                                    const QDateTime &to = {});

    int rowCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    // Seconds since 1970 on the controller's clock (kept as UTC).
    qint64 secondsAt(int row) const { return rows_[std::size_t(row)].seconds; }
    QDateTime timeAt(int row) const;
    float sample(int row, int channel) const;
    bool hasSample(int row, int channel) const;
    // Whether a curve goes on from the row before to this one: false for the
    // first row and for the first row after a gap.
    bool joinsPrevious(int row) const { return rows_[std::size_t(row)].joins; }
    // The number of gaps between the first row and the last.
    int gapCount() const;
    // The first row at or after the time; rowCount() when there is none.
    int firstRowFrom(qint64 seconds) const;
    QDateTime first() const { return isEmpty() ? QDateTime() : timeAt(0); }
    QDateTime last() const { return isEmpty() ? QDateTime() : timeAt(rowCount() - 1); }
    // A page number and its row (from 1) of a history row, for a readout.
    int pageNumberAt(int row) const;
    int pageRowAt(int row) const { return rows_[std::size_t(row)].pageRow; }

    // "2026-12-06 14:05:00": how a row's time is written in tables.
    static QString timeText(const QDateTime &time);
    // Two pages one after another are one run when the step between them is at
    // most this many times the slower page's row pace (plus a second for the
    // whole seconds the time marks carry).
    static constexpr double kJoinPaces = 1.5;

private:
    struct Row {
        qint64 seconds = 0;
        int page = 0;
        int pageRow = 0;
        bool joins = false;
    };
    std::vector<ArchivedPage> pages_;
    std::vector<Row> rows_;
};

} // namespace z5
