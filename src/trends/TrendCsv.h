#pragma once
#include <QByteArray>
#include <QString>

namespace z5 {

struct TrendPage;
struct TrendChannels;
class ArchiveHistory;

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
    // A stretch of history in the same layout, its time field the row's date
    // and time ("2026-12-06 14:05:00"); a gap has no lines of its own.
    static QByteArray build(const ArchiveHistory &history, const TrendChannels &channels);
    static bool write(const QString &path, const ArchiveHistory &history, const TrendChannels &channels,
                      QString *error = nullptr);
};

} // namespace z5
