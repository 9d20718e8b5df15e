#include "trends/PdfFile.h"
#include "model/AtomicFileSave.h"
#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace z5 {

bool PdfFile::write(const QString &path, const QString &title, QPageLayout::Orientation orientation,
                    const Drawing &draw, QString *error) {
    const QString failed = QStringLiteral("Печать в PDF не удалась.");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        writer.setTitle(title);
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error) *error = failed;
            return false;
        }
        const bool drawn = draw(painter, writer);
        if (!painter.end() || !drawn) {
            if (error) *error = failed;
            return false;
        }
    }
    buffer.close();
    return AtomicFileSave::save(path, buffer.data(), error);
}

} // namespace z5
