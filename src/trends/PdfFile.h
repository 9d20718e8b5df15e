#pragma once
#include <QPageLayout>
#include <QString>
#include <functional>

class QPainter;
class QPdfWriter;

namespace z5 {

// A printout saved as an A4 PDF: drawn in memory, then saved as a whole
// (AtomicFileSave), so a full disk or a device in the file's place fails the
// save instead of leaving a part, and any old file stays as it was.
class PdfFile {
public:
    // Draws the pages on the writer (newPage() between them); false: drawing failed.
    using Drawing = std::function<bool(QPainter &painter, QPdfWriter &writer)>;
    static bool write(const QString &path, const QString &title, QPageLayout::Orientation orientation,
                      const Drawing &draw, QString *error = nullptr);
};

} // namespace z5
