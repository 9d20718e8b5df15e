#pragma once

class QPainter;
class QPagedPaintDevice;

namespace z5 {

class WorkReport;

// The printed visit report: the title, then the table with its headings on
// every sheet, rows as tall as their wrapped texts, a row never split between
// sheets unless it is taller than a sheet, and the sheet's number at the foot.
// The one routine serves the preview, paper and PDF.
class WorkReportPrintout {
public:
    // Columns' shares of the width, in per mille.
    static constexpr int kColumnShares[] = {110, 55, 95, 90, 150, 90, 410};

    // Draws every sheet on a painter begun on `device`; returns the sheet count.
    static int paint(QPainter &painter, QPagedPaintDevice &device, const WorkReport &report);
};

} // namespace z5
