#pragma once
#include <QString>

namespace z5 {

class WorkReport;

// The visit report saved as a file, through the program's one PDF and one
// workbook path: each is written beside the file and renamed over it whole.
class WorkReportExport {
public:
    // Sheet row (from 0) of the headings; the writes follow, one a row.
    static constexpr int kHeadingRow = 2;

    // Landscape A4, as printed. False with the reason.
    static bool writePdf(const QString &path, const WorkReport &report, QString *error = nullptr);
    // The title in A1, the headings in row 3, then one row per write, the
    // changes one per line in the last column. False with the reason.
    static bool writeWorkbook(const QString &path, const WorkReport &report, QString *error = nullptr);
};

} // namespace z5
