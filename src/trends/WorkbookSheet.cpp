#include "trends/WorkbookSheet.h"

namespace z5 {

lxw_format *WorkbookSheet::format(lxw_color_t colour, bool bold, bool border, bool centred, bool wrapped) {
    lxw_format *f = workbook_add_format(book_);
    if (!f) {
        check(LXW_ERROR_MEMORY_MALLOC_FAILED);
        return nullptr;
    }
    if (colour != LXW_COLOR_UNSET) format_set_font_color(f, colour);
    if (bold) format_set_bold(f);
    if (border) format_set_border(f, LXW_BORDER_MEDIUM);
    if (centred) format_set_align(f, LXW_ALIGN_CENTER);
    if (wrapped) {
        format_set_text_wrap(f);
        format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
    }
    return f;
}

void WorkbookSheet::text(lxw_row_t row, lxw_col_t col, const QString &value, lxw_format *format) {
    const QByteArray utf8 = value.toUtf8();
    check(worksheet_write_string(sheet_, row, col, utf8.constData(), format));
}

void WorkbookSheet::blank(lxw_row_t row, lxw_col_t col, lxw_format *format) {
    check(worksheet_write_blank(sheet_, row, col, format));
}

void WorkbookSheet::number(lxw_row_t row, lxw_col_t col, double value) {
    check(worksheet_write_number(sheet_, row, col, value, nullptr));
}

void WorkbookSheet::width(lxw_col_t first, lxw_col_t last, double w) {
    check(worksheet_set_column(sheet_, first, last, w, nullptr));
}

} // namespace z5
