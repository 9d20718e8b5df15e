#pragma once
#include <QString>
#include <xlsxwriter.h>

namespace z5 {

// The one sheet of a workbook being written: cells, formats and column widths.
// The first failure of the library is kept; what follows it is still tried.
class WorkbookSheet {
public:
    WorkbookSheet(lxw_workbook *book, lxw_worksheet *sheet) : book_(book), sheet_(sheet) {}

    lxw_format *format(lxw_color_t colour, bool bold, bool border, bool centred, bool wrapped = false);
    void text(lxw_row_t row, lxw_col_t col, const QString &value, lxw_format *format);
    void blank(lxw_row_t row, lxw_col_t col, lxw_format *format);
    void number(lxw_row_t row, lxw_col_t col, double value);
    void width(lxw_col_t first, lxw_col_t last, double w);
    lxw_error error() const { return error_; }

private:
    void check(lxw_error e) {
        if (e != LXW_NO_ERROR && error_ == LXW_NO_ERROR) error_ = e;
    }
    lxw_workbook *book_;
    lxw_worksheet *sheet_;
    lxw_error error_ = LXW_NO_ERROR;
};

} // namespace z5
