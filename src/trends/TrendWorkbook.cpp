#include "trends/TrendWorkbook.h"
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

void fillSheet(WorkbookSheet &w, const TrendPage &page, const TrendChannels &channels, int precision) {
    lxw_format *centred = w.format(LXW_COLOR_UNSET, false, false, true);
    lxw_format *title = w.format(kBlue, true, true, true);
    lxw_format *heading = w.format(kRed, false, true, false);
    lxw_format *names = w.format(kDarkGreen, true, true, false);
    lxw_format *times = w.format(kBlue, true, false, false);

    w.width(0, 0, kTitleColumnWidth);
    w.width(1, kLastColumn, kChannelColumnWidth);

    w.text(0, 0, channels.title, title);
    for (lxw_col_t c = 1; c <= kLastColumn; ++c) w.blank(0, c, centred);

    w.text(1, 0, QString::fromUtf8(kDateTimeHeading), heading);
    for (lxw_col_t c = 1; c <= kLastColumn; ++c) w.text(1, c, QStringLiteral("Параметр %1").arg(c), heading);

    w.blank(2, 0, names);
    for (lxw_col_t c = 1; c <= kLastColumn; ++c) w.text(2, c, channels.name(int(c) - 1), names);

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

} // namespace z5
