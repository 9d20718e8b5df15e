#include "trends/TrendPdf.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPrintout.h"
#include <QFileInfo>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace z5 {

bool TrendPdf::write(const QString &path, const TrendPage &page, int group, const TrendChannels &channels,
                     QString *error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                                         QPageLayout::Millimeter));
        writer.setTitle(channels.title);
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            if (error) *error = QStringLiteral("the PDF could not be started");
            return false;
        }
        TrendPrintout::paint(painter, writer, page, group, channels);
        painter.end();
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace z5
