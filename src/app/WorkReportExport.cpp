#include "app/WorkReportExport.h"
#include "app/WorkReport.h"
#include "app/WorkReportPrintout.h"
#include "trends/PdfFile.h"
#include "trends/WorkbookFile.h"
#include "trends/WorkbookSheet.h"
#include <QPdfWriter>

namespace z5 {
namespace {

constexpr double kColumnWidths[WorkReport::ColumnCount] = {19, 9, 18, 16, 30, 18, 70};
constexpr lxw_color_t kBlue = 0x0000FF;

} // namespace

bool WorkReportExport::writePdf(const QString &path, const WorkReport &report, QString *error) {
    return PdfFile::write(
        path, report.title(), QPageLayout::Landscape,
        [&](QPainter &painter, QPdfWriter &writer) { return WorkReportPrintout::paint(painter, writer, report) > 0; },
        error);
}

bool WorkReportExport::writeWorkbook(const QString &path, const WorkReport &report, QString *error) {
    return WorkbookFile::write(
        path,
        [&](WorkbookSheet &sheet) {
            lxw_format *title = sheet.format(kBlue, true, false, false);
            lxw_format *heading = sheet.format(LXW_COLOR_UNSET, true, true, false);
            lxw_format *cell = sheet.format(LXW_COLOR_UNSET, false, false, false, true);
            for (int c = 0; c < WorkReport::ColumnCount; ++c)
                sheet.width(lxw_col_t(c), lxw_col_t(c), kColumnWidths[c]);
            sheet.text(0, 0, report.title(), title);
            for (int c = 0; c < WorkReport::ColumnCount; ++c)
                sheet.text(kHeadingRow, lxw_col_t(c), WorkReport::heading(c), heading);
            for (int r = 0; r < report.rowCount(); ++r)
                for (int c = 0; c < WorkReport::ColumnCount; ++c)
                    sheet.text(lxw_row_t(kHeadingRow + 1 + r), lxw_col_t(c), report.cell(r, c), cell);
        },
        error);
}

} // namespace z5
