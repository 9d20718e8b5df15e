#pragma once
#include <QString>

namespace z5 {

struct TrendPage;
struct TrendChannels;
class ArchiveHistory;

// The page as a native .xlsx workbook of one sheet: the title in A1, the
// headings in row 2, the channel names in row 3, the date and the four times of
// day in column A and the 240 rows of 32 channels in B4:AG243, each value cut
// (not rounded) to the chosen number of decimals. Rows after the page's valid
// rows and missing samples are empty cells. Texts are written as strings only.
class TrendWorkbook {
public:
    // "1", "0,1", "0,01", "0,001": the list index is the number of decimals.
    static constexpr int kPrecisions = 4;
    static constexpr int kFirstDataRow = 3;      // sheet row 4, counted from 0
    // Sheet rows (from 0) of the four times of day: beside the page rows 0, 56,
    // 112 and 184 whose parts carried them (A4, A60, A116, A188).
    static constexpr int kTimeRows[4] = {3, 59, 115, 187};

    // trunc(value x 10^precision) / 10^precision in double precision; the
    // precision is brought into 0..3.
    static double exportValue(float sample, int precision);
    // "6 / 12 / 26       14 : 5 : 0" for time of day k.
    static QString timeCellText(const TrendPage &page, int k);

    // Writes the workbook beside the file, then renames it over the file, so a
    // failure leaves any file of that name as it was. False with the reason.
    static bool write(const QString &path, const TrendPage &page, const TrendChannels &channels, int precision,
                      QString *error = nullptr);
    // A stretch of history in the same layout: title, headings and names in
    // rows 1 to 3, then one sheet row per history row from row 4, its date and
    // time in column A and its 32 channels in B to AG. Written row by row, so a
    // week of rows needs little memory.
    static bool write(const QString &path, const ArchiveHistory &history, const TrendChannels &channels,
                      int precision, QString *error = nullptr);
};

} // namespace z5
