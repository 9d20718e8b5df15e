#include "trends/TrendPdf.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPrintout.h"
#include "model/AtomicFileSave.h"
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace z5 {

bool TrendPdf::write(const QString &path, const TrendPage &page, int group, const TrendChannels &channels,
                     QString *error) {
    // The printout is drawn in memory, then saved as a whole: a full disk or a
    // device in the file's place then fails the save instead of leaving a part.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                         QPageLayout::Millimeter));
        writer.setTitle(channels.title);
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error) *error = QStringLiteral("Печать в PDF не удалась.");
            return false;
        }
        TrendPrintout::paint(painter, writer, page, group, channels);
        if (!painter.end()) {
            if (error) *error = QStringLiteral("Печать в PDF не удалась.");
            return false;
        }
    }
    buffer.close();
    return AtomicFileSave::save(path, buffer.data(), error);
}

} // namespace z5
