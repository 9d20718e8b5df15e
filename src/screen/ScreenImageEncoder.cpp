#include "screen/ScreenImageEncoder.h"
#include "screen/ScreenPalette.h"

namespace z5 {

ScreenImageEncoder::ScreenImageEncoder() : pixel_(kWidth * kHeight, 0), image_(kImageEntries, 0) {}

int ScreenImageEncoder::pixel(int x, int y) const {
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) return 0;
    return pixel_[x + kWidth * y];
}

int ScreenImageEncoder::imageEntry(int n) const { return n >= 0 && n < kImageEntries ? image_[n] : 0; }

void ScreenImageEncoder::setImageEntry(int n, int value) {
    if (n >= 0 && n < kImageEntries) image_[n] = static_cast<std::uint8_t>(value & 0xFF);
}

bool ScreenImageEncoder::reduce(const QImage &picture, int threshold) {
    const int w = picture.width() - 1;
    setImageEntry(2, w % 256);
    setImageEntry(3, w / 256);
    if (picture.width() > kWidth || picture.height() > kHeight) return false;

    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        std::uint8_t *row = &pixel_[kWidth * y];
        for (int x = 0; x < rgb.width(); ++x)
            row[x] = static_cast<std::uint8_t>(ScreenPalette::reduce(line[x], threshold));
    }
    return true;
}

int ScreenImageEncoder::encodeRunLength(int width, int height) {
    int n = 3;
    if (width > 0 && width <= kWidth && height > 0 && height <= kHeight) {
        // The picture's pixels row by row as one sequence: runs go on across row ends.
        int current = pixel_[0];
        int run = 0;
        for (int y = 0; y < height; ++y) {
            const std::uint8_t *row = &pixel_[kWidth * y];
            for (int x = y == 0 ? 1 : 0; x < width; ++x) {
                if (row[x] == current && run < 31) {
                    ++run;
                } else {
                    setImageEntry(++n, current + 8 * run);
                    current = row[x];
                    run = 0;
                }
            }
        }
        setImageEntry(++n, current + 8 * run);
    }
    setImageEntry(0, n % 256);
    setImageEntry(1, n / 256);
    return n;
}

int ScreenImageEncoder::encodePacked(int width, int height) {
    int n = 0;
    if (width <= 0 || width > kWidth || height <= 0 || height > kHeight) return 0;
    for (int y = 0; y < height; ++y) {
        // Groups start at multiples of 8 up to the last column, so the last group may
        // reach past the picture (never past the display's 320 columns).
        for (int x = 0; x < width; x += 8) {
            std::uint32_t v = 0;
            for (int i = 0; i < 8; ++i) v |= std::uint32_t(pixel(x + i, y)) << (3 * i);
            setImageEntry(n, v & 0xFF);
            setImageEntry(n + 1, (v >> 8) & 0xFF);
            setImageEntry(n + 2, (v >> 16) & 0xFF);
            n += 3;
        }
    }
    return n;
}

QByteArray ScreenImageEncoder::sentImage() const {
    return QByteArray(reinterpret_cast<const char *>(image_.data()), kSentEntries);
}

} // namespace z5
