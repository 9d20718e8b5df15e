#include "trends/TrendWorkbook.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPage.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cmath>
#include <cstdio>
#include <xlsxwriter.h>

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

lxw_format *makeFormat(lxw_workbook *book, lxw_color_t colour, bool bold, bool border, bool centred) {
    lxw_format *f = workbook_add_format(book);
    if (colour != LXW_COLOR_UNSET) format_set_font_color(f, colour);
    if (bold) format_set_bold(f);
    if (border) format_set_border(f, LXW_BORDER_MEDIUM);
    if (centred) format_set_align(f, LXW_ALIGN_CENTER);
    return f;
}

class SheetWriter {
public:
    SheetWriter(lxw_worksheet *sheet) : sheet_(sheet) {}
    void text(lxw_row_t row, lxw_col_t col, const QString &value, lxw_format *format) {
        const QByteArray utf8 = value.toUtf8();
        check(worksheet_write_string(sheet_, row, col, utf8.constData(), format));
    }
    void blank(lxw_row_t row, lxw_col_t col, lxw_format *format) {
        check(worksheet_write_blank(sheet_, row, col, format));
    }
    void number(lxw_row_t row, lxw_col_t col, double value) {
        check(worksheet_write_number(sheet_, row, col, value, nullptr));
    }
    void width(lxw_col_t first, lxw_col_t last, double w) {
        check(worksheet_set_column(sheet_, first, last, w, nullptr));
    }
    lxw_error error() const { return error_; }

private:
    void check(lxw_error e) {
        if (e != LXW_NO_ERROR && error_ == LXW_NO_ERROR) error_ = e;
    }
    lxw_worksheet *sheet_;
    lxw_error error_ = LXW_NO_ERROR;
};

void fillSheet(lxw_workbook *book, SheetWriter &w, const TrendPage &page, const TrendChannels &channels,
               int precision) {
    lxw_format *centred = makeFormat(book, LXW_COLOR_UNSET, false, false, true);
    lxw_format *title = makeFormat(book, kBlue, true, true, true);
    lxw_format *heading = makeFormat(book, kRed, false, true, false);
    lxw_format *names = makeFormat(book, kDarkGreen, true, true, false);
    lxw_format *times = makeFormat(book, kBlue, true, false, false);

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

bool replaceFile(const QString &from, const QString &to) {
    const QByteArray a = QFile::encodeName(from), b = QFile::encodeName(to);
    if (std::rename(a.constData(), b.constData()) == 0) return true;
    // Where renaming over an existing file is refused.
    if (QFile::exists(to) && QFile::exists(from)) {
        const QString aside = to + QStringLiteral(".old");
        QFile::remove(aside);
        if (!QFile::rename(to, aside)) return false;
        if (QFile::rename(from, to)) {
            QFile::remove(aside);
            return true;
        }
        QFile::rename(aside, to);
    }
    return false;
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
    const QFileInfo target(path);
    QString temporary;
    {
        // Destroyed at the end of this block: a closed QTemporaryFile keeps its handle
        // open, and on Windows that handle would refuse the rename over the target.
        QTemporaryFile reserve(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(target.fileName())));
        reserve.setAutoRemove(false);
        if (!reserve.open()) {
            if (error) *error = reserve.errorString();
            return false;
        }
        reserve.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                               QFileDevice::ReadOther);
        temporary = reserve.fileName();
    }

    const QByteArray name = QFile::encodeName(temporary);
    lxw_workbook *book = workbook_new(name.constData());
    lxw_worksheet *sheet = book ? workbook_add_worksheet(book, nullptr) : nullptr;
    if (!sheet) {
        if (book) workbook_close(book);
        QFile::remove(temporary);
        if (error) *error = QStringLiteral("the workbook could not be created");
        return false;
    }
    SheetWriter w(sheet);
    fillSheet(book, w, page, channels, precision);
    const lxw_error closed = workbook_close(book);
    const lxw_error failed = w.error() != LXW_NO_ERROR ? w.error() : closed;
    if (failed != LXW_NO_ERROR) {
        QFile::remove(temporary);
        if (error) *error = QString::fromUtf8(lxw_strerror(failed));
        return false;
    }
    if (!replaceFile(temporary, target.absoluteFilePath())) {
        QFile::remove(temporary);
        if (error) *error = QStringLiteral("the file could not be replaced");
        return false;
    }
    return true;
}

} // namespace z5
