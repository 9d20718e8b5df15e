#include "screen/ControllerView.h"
#include "screen/ScreenBuilder.h"
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

QImage ControllerView::asReceived(const QImage &picture, int threshold, bool runLength) {
    QImage out = reduce(picture, threshold);
    if (out.isNull() || runLength) return out;
    // A picture too big for the display is refused whole by the build.
    if (out.width() > ScreenImageEncoder::kWidth || out.height() > ScreenImageEncoder::kHeight) return out;
    const int width = out.width();
    const int carried = ScreenBuilder::packedRowsCarried(width, out.height());
    const QRgb missing = notReceivedColour().rgb();
    // Whole rows up to `carried`; the row after it may still bring a few pixels.
    for (int y = carried; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < width; ++x)
            if (!ScreenBuilder::packedPixelCarried(width, x, y)) row[x] = missing;
    }
    return out;
}

} // namespace z5
