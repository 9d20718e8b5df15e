#pragma once
#include <QString>
#include <functional>

namespace z5 {

class WorkbookSheet;

// A native .xlsx workbook of one sheet, written beside the file, read back whole
// and renamed over it (AtomicFileSave), so a failure leaves any file of that
// name as it was. What goes into the sheet is the caller's.
class WorkbookFile {
public:
    using SheetFiller = std::function<void(WorkbookSheet &sheet)>;
    // False with the reason in words. Constant memory: the library writes each
    // row as it is left, so the rows must come in order (long histories).
    static bool write(const QString &path, const SheetFiller &fill, QString *error = nullptr, bool constantMemory = false);
};

} // namespace z5
