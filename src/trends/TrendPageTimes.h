#pragma once
#include <QDateTime>

namespace z5 {

struct TrendPage;

// Where a page and its rows stand on the controller's clock: the page's date and
// first time of day begin it, and each row takes its time of day from the four
// times the page carries (rows 0, 56, 112 and 184), across midnight where a time
// of day is smaller than the one before. Times are kept as UTC: the controller's
// clock names no zone.
class TrendPageTimes {
public:
    // Where the page began; invalid when it carries no date (a page never recorded).
    static QDateTime start(const TrendPage &page);
    // The time of a row 0..239; invalid when the page has no start or the row is outside it.
    static QDateTime rowTime(const TrendPage &page, int row);
};

} // namespace z5
