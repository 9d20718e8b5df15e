#pragma once
#include <QByteArray>
#include <QString>

namespace z5 {

struct TrendPage;
struct TrendChannels;

// A page as UTF-8 CSV: a header line (row, time, the 32 channel names, or 1..32
// where a channel has none), then one line per valid row: its number from 1,
// its time of day where the page has times, and the 32 values with a point and
// three decimals, a missing sample as an empty field. Lines end with CR LF.
class TrendCsv {
public:
    static QByteArray build(const TrendPage &page, const TrendChannels &channels);
    // Replaces the file as a whole; false with the reason when it could not.
    static bool write(const QString &path, const TrendPage &page, const TrendChannels &channels,
                      QString *error = nullptr);
};

} // namespace z5
