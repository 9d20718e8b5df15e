#pragma once
#include <QString>

namespace z5 {

struct TrendPage;
struct TrendChannels;

// What the plot shows for the row under the mouse: its number, its time of day
// and the group's four values with the channels' names.
class TrendCursor {
public:
    // Rows whose parts carry the page's four times of day.
    static constexpr int kLabelledRows[4] = {0, 56, 112, 184};

    // Seconds since midnight of a row, interpolated between the labelled rows
    // (beyond the last one, continued at the last pace); -1 when the page has no
    // times or the row is outside it.
    static int rowSeconds(const TrendPage &page, int row);
    // Seconds from the page's first time of day to the row's, counted on across
    // midnight; -1 as for rowSeconds.
    static int rowSecondsAfterFirst(const TrendPage &page, int row);
    // "8:09:30"; empty for a negative number.
    static QString clockText(int seconds);
    // The status line text for a row, empty outside the page's rows.
    static QString readout(const TrendPage &page, int group, const TrendChannels &channels, int row);
};

} // namespace z5
