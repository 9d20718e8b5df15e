#include "trends/TrendPdf.h"
#include "trends/PdfFile.h"
#include "trends/TrendChannels.h"
#include "trends/TrendPrintout.h"
#include <QPdfWriter>

namespace z5 {

bool TrendPdf::write(const QString &path, const TrendPage &page, int group, const TrendChannels &channels,
                     QString *error) {
    return PdfFile::write(
        path, channels.title, QPageLayout::Landscape,
        [&](QPainter &painter, QPdfWriter &writer) {
            TrendPrintout::paint(painter, writer, page, group, channels);
            return true;
        },
        error);
}

} // namespace z5
