#include "trends/TrendWorkbook.h"
#include "trends/ArchiveHistory.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPage.h"
#include "trends/WorkbookFile.h"
#include "trends/WorkbookSheet.h"
#include <cmath>

namespace z5 {
namespace {

constexpr lxw_col_t kLastColumn = 32;    // AG
constexpr double kTitleColumnWidth = 27;
constexpr double kChannelColumnWidth = 15;
constexpr int kTimeColumnLastRow = 239;  // A240
// Colours as 0xRRGGBB.
constexpr lxw_color_t kBlue = 0x0000FF;
constexpr lxw_color_t kRed = 0xFF0000;
constexpr lxw_color_t kDarkGreen = 0x008000;
const char *const kDateTimeHeading = "Дата              Время";

struct SheetFormats {
    lxw_format *centred;
    lxw_format *title;
    lxw_format *heading;
    lxw_format *names;
    lxw_format *times;
};

// Rows 1 to 3, the same for a page and a stretch of history.
SheetFormats fillHeadings(WorkbookSheet &w, const TrendChannels &channels) {
    SheetFormats f{w.format(LXW_COLOR_UNSET, false, false, true), w.format(kBlue, true, true, true),
                   w.format(kRed, false, true, false), w.format(kDarkGreen, true, true, false),
                   w.format(kBlue, true, false, false)};
    w.width(0, 0, kTitleColumnWidth);
    w.width(1, kLastColumn, kChannelColumnWidth);

    w.text(0, 0, channels.title, f.title);
    for (lxw_col_t c = 1; c <= kLastColumn; ++c) w.blank(0, c, f.centred);

    w.text(1, 0, QString::fromUtf8(kDateTimeHeading), f.heading);
    for (lxw_col_t c = 1; c <= kLastColumn; ++c) w.text(1, c, QStringLiteral("Параметр %1").arg(c), f.heading);

    w.blank(2, 0, f.names);
    for (lxw_col_t c = 1; c <= kLastColumn; ++c) w.text(2, c, channels.name(int(c) - 1), f.names);
    return f;
}

void fillSheet(WorkbookSheet &w, const ArchiveHistory &history, const TrendChannels &channels, int precision) {
    const SheetFormats f = fillHeadings(w, channels);
    for (int row = 0; row < history.rowCount(); ++row) {
        const auto sheetRow = lxw_row_t(TrendWorkbook::kFirstDataRow + row);
        w.text(sheetRow, 0, ArchiveHistory::timeText(history.timeAt(row)), f.times);
        for (int c = 0; c < TrendPage::kChannels; ++c)
            if (history.hasSample(row, c))
                w.number(sheetRow, lxw_col_t(c + 1), TrendWorkbook::exportValue(history.sample(row, c), precision));
    }
}

void fillSheet(WorkbookSheet &w, const TrendPage &page, const TrendChannels &channels, int precision) {
    lxw_format *times = fillHeadings(w, channels).times;

    int k = 0;
    for (lxw_row_t r = TrendWorkbook::kFirstDataRow; r <= kTimeColumnLastRow; ++r) {
        if (k < 4 && int(r) == TrendWorkbook::kTimeRows[k])
            w.text(r, 0, TrendWorkbook::timeCellText(page, k++), times);
        else
            w.blank(r, 0, times);
    }

    for (int row = 0; row < page.rowCount && row < TrendPage::kRows; ++row)
        for (int c = 0; c < TrendPage::kChannels; ++c)
            if (page.hasSample(row, c))
                w.number(lxw_row_t(TrendWorkbook::kFirstDataRow + row), lxw_col_t(c + 1),
                         TrendWorkbook::exportValue(page.sample(row, c), precision));
}

} // namespace

double TrendWorkbook::exportValue(float sample, int precision) {
    static const double factors[kPrecisions] = {1.0, 10.0, 100.0, 1000.0};
    const double factor = factors[precision < 0 ? 0 : precision >= kPrecisions ? kPrecisions - 1 : precision];
    return std::trunc(double(sample) * factor) / factor;
}

QString TrendWorkbook::timeCellText(const TrendPage &page, int k) {
    return page.dateText() + QStringLiteral("       ") + page.timeText(k);
}

bool TrendWorkbook::write(const QString &path, const TrendPage &page, const TrendChannels &channels, int precision,
                          QString *error) {
    return WorkbookFile::write(path, [&](WorkbookSheet &sheet) { fillSheet(sheet, page, channels, precision); }, error);
}

bool TrendWorkbook::write(const QString &path, const ArchiveHistory &history, const TrendChannels &channels,
                          int precision, QString *error) {
    return WorkbookFile::write(
        path, [&](WorkbookSheet &sheet) { fillSheet(sheet, history, channels, precision); }, error, true);
}

} // namespace z5
