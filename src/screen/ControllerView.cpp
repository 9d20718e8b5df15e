#include "screen/ControllerView.h"
#include "screen/ScreenPalette.h"

namespace z5 {

QImage ControllerView::reduce(const QImage &picture, int threshold) {
    if (picture.isNull()) return picture;
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) row[x] = ScreenPalette::colour(ScreenPalette::reduce(row[x], threshold));
    }
    return out;
}

} // namespace z5
