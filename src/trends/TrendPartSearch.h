#pragma once
#include <QByteArray>
#include <vector>

namespace z5 {

// Where in the bytes that came for one part request a whole part fits. Only the
// positions the page reader reads are looked at, since a controller may send
// anything in the others: the page byte must name the page asked for, the time
// of day must be a time and the date a date (or all zero: a part not yet
// recorded may carry none).
class TrendPartSearch {
public:
    // expectedPage: the page the part must name, 1..256; 0 for any page.
    static bool fits(const QByteArray &bytes, int at, int expectedPage);
    // Every offset at which a whole part fits, lowest first.
    static std::vector<int> fittingOffsets(const QByteArray &bytes, int expectedPage);
};

} // namespace z5
