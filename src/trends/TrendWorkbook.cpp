#include "trends/TrendWorkbook.h"
#include "trends/ArchiveHistory.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPage.h"
#include "trends/WorkbookCheck.h"
#include "model/AtomicFileSave.h"
#include "screen/LibraryOutputCatcher.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cmath>
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

class SheetWriter {
public:
    SheetWriter(lxw_workbook *book, lxw_worksheet *sheet) : book_(book), sheet_(sheet) {}
    lxw_format *format(lxw_color_t colour, bool bold, bool border, bool centred) {
        lxw_format *f = workbook_add_format(book_);
        if (!f) {
            check(LXW_ERROR_MEMORY_MALLOC_FAILED);
            return nullptr;
        }
        if (colour != LXW_COLOR_UNSET) format_set_font_color(f, colour);
        if (bold) format_set_bold(f);
        if (border) format_set_border(f, LXW_BORDER_MEDIUM);
        if (centred) format_set_align(f, LXW_ALIGN_CENTER);
        return f;
    }
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
    lxw_workbook *book_;
    lxw_worksheet *sheet_;
    lxw_error error_ = LXW_NO_ERROR;
};

struct SheetFormats {
    lxw_format *centred;
    lxw_format *title;
    lxw_format *heading;
    lxw_format *names;
    lxw_format *times;
};

// Rows 1 to 3, the same for a page and a stretch of history.
SheetFormats fillHeadings(SheetWriter &w, const TrendChannels &channels) {
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

void fillSheet(SheetWriter &w, const ArchiveHistory &history, const TrendChannels &channels, int precision) {
    const SheetFormats f = fillHeadings(w, channels);
    for (int row = 0; row < history.rowCount(); ++row) {
        const auto sheetRow = lxw_row_t(TrendWorkbook::kFirstDataRow + row);
        w.text(sheetRow, 0, ArchiveHistory::timeText(history.timeAt(row)), f.times);
        for (int c = 0; c < TrendPage::kChannels; ++c)
            if (history.hasSample(row, c))
                w.number(sheetRow, lxw_col_t(c + 1), TrendWorkbook::exportValue(history.sample(row, c), precision));
    }
}

void fillSheet(SheetWriter &w, const TrendPage &page, const TrendChannels &channels, int precision) {
    const SheetFormats f = fillHeadings(w, channels);
    lxw_format *times = f.times;

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

namespace {

// Writes the sheet that `fillSheet` fills beside the file, checks it and renames
// it over the file. Constant memory: the library writes each row as it is left,
// which the rows must then come in order for.
template <typename Fill>
bool writeBook(const QString &path, bool constantMemory, const Fill &fillSheet, QString *error) {
    // The library writes the file beside the target by name, and its own files in
    // a private folder beside it, where a full disk or a size limit is the
    // target's own; a full temporary folder elsewhere does not matter. What the
    // library prints on standard error is caught: the user gets one message in
    // our words, its text in brackets.
    auto fill = [&](const QString &temporary, const QString &scratch, QString *why) {
        LibraryOutputCatcher libraryOutput;
        const QByteArray name = QFile::encodeName(temporary);
        QByteArray folder = QFile::encodeName(scratch);
        lxw_workbook_options options{};
        options.tmpdir = folder.data();
        options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
        errno = 0;
        lxw_workbook *book = workbook_new_opt(name.constData(), &options);
        lxw_worksheet *sheet = book ? workbook_add_worksheet(book, nullptr) : nullptr;
        if (!sheet) {
            if (book) workbook_close(book);
            *why = QStringLiteral("Книгу не удалось создать.");
            return false;
        }
        SheetWriter w(book, sheet);
        fillSheet(w);
        errno = 0;
        const lxw_error closed = workbook_close(book);
        const int systemError = errno;
        const lxw_error failed = w.error() != LXW_NO_ERROR ? w.error() : closed;
        if (failed != LXW_NO_ERROR) {
            const QString words = AtomicFileSave::reasonFor(systemError);
            *why = words.isEmpty() ? QStringLiteral("Ошибка записи [%1].").arg(QString::fromUtf8(lxw_strerror(failed))) : words;
            return false;
        }
        // A part the library could not write whole into its own file went into the
        // zip cut short: the folder is asked again for as much as the library
        // wrote, which names the reason (a full disk, a size limit).
        qint64 partBytes = 0;
        const QString problem = WorkbookCheck::problem(temporary, &partBytes);
        if (problem.isEmpty()) return true;
        const QString reason =
            WorkbookCheck::reasonWritesStop(scratch, partBytes + QFileInfo(temporary).size() + AtomicFileSave::kChunkBytes);
        *why = reason.isEmpty() ? QStringLiteral("Книга записана не полностью [%1].").arg(problem) : reason;
        return false;
    };
    return AtomicFileSave::saveWith(path, fill, error);
}

} // namespace

bool TrendWorkbook::write(const QString &path, const TrendPage &page, const TrendChannels &channels, int precision,
                          QString *error) {
    return writeBook(path, false, [&](SheetWriter &w) { fillSheet(w, page, channels, precision); }, error);
}

bool TrendWorkbook::write(const QString &path, const ArchiveHistory &history, const TrendChannels &channels,
                          int precision, QString *error) {
    return writeBook(path, true, [&](SheetWriter &w) { fillSheet(w, history, channels, precision); }, error);
}

} // namespace z5
