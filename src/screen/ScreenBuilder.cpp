#include "screen/ScreenBuilder.h"
#include "screen/ScreenElementWords.h"
#include "screen/ScreenModel.h"
#include <algorithm>

namespace z5 {

QString ScreenBuilder::tooWideMessage() { return QStringLiteral("Координата Х должна быть меньше 320"); }

QString ScreenBuilder::tooHighMessage() { return QStringLiteral("Координата Y должна быть меньше 240"); }

QString ScreenBuilder::doesNotFitMessage(int needed, int excess) {
    return QStringLiteral("Картинка не помещается в Z5: нужно %1 байт, помещается %2 (лишних %3)")
        .arg(needed)
        .arg(ScreenImageEncoder::kSentEntries)
        .arg(excess);
}

int ScreenBuilder::packedBytes(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    return 3 * ((width + 7) / 8) * height;
}

int ScreenBuilder::packedRowsCarried(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    const int rowBytes = 3 * ((width + 7) / 8);
    return std::min(height, ScreenImageEncoder::kSentEntries / rowBytes);
}

bool ScreenBuilder::packedPixelCarried(int width, int x, int y) {
    if (width <= 0 || x < 0 || x >= width || y < 0) return false;
    const int rowBytes = 3 * ((width + 7) / 8);
    // Pixel i of a group holds bits 3i..3i+2 of its three bytes.
    const int lastByte = y * rowBytes + 3 * (x / 8) + (3 * (x % 8) + 2) / 8;
    return lastByte <= ScreenImageEncoder::kLastSentEntry;
}

QString ScreenBuilder::packedCutMessage(int width, int height) {
    if (width > ScreenImageEncoder::kWidth || height > ScreenImageEncoder::kHeight) return QString();
    const int carried = packedRowsCarried(width, height);
    if (carried >= height) return QString();
    const QString rows = carried == height - 1
                             ? QStringLiteral("Строка Y = %1 до Z5 не дойдёт целиком.").arg(carried)
                             : QStringLiteral("Строки с Y = %1 по Y = %2 до Z5 не дойдут целиком.").arg(carried).arg(height - 1);
    return QStringLiteral("Картинка не помещается в Z5: нужно %1 байт, помещается %2. %3")
        .arg(packedBytes(width, height))
        .arg(ScreenImageEncoder::kSentEntries)
        .arg(rows);
}

QString ScreenBuilder::packedCutQuestion(int width, int height) {
    const QString cut = packedCutMessage(width, height);
    return cut.isEmpty() ? cut : cut + QStringLiteral("\n\nЗаписать то, что помещается?");
}

QByteArray ScreenBuilder::recomputeElementWords(ScreenModel &model) { return ScreenElementWords::update(model); }

ScreenBuilder::Result ScreenBuilder::build(ScreenModel &model, const QImage &preview) {
    Result result;
    {
        QImage picture = preview;
        if (picture.isNull()) {
            picture = QImage(ScreenImageEncoder::kWidth, ScreenImageEncoder::kHeight, QImage::Format_RGB32);
            picture.fill(Qt::black);
        }
        if (!encoder_.reduce(picture, model.colorThreshold())) {
            const bool wide = picture.width() > ScreenImageEncoder::kWidth;
            result.status = wide ? Status::TooWide : Status::TooHigh;
            result.message = wide ? tooWideMessage() : tooHighMessage();
            return result;
        }
        if (model.isRunLength()) {
            const int last = encoder_.encodeRunLength(picture.width(), picture.height());
            // A cut picture would show garbage: refuse it whole rather than send part.
            if (last > ScreenImageEncoder::kLastSentEntry) {
                result.status = Status::DoesNotFit;
                result.excess = last - ScreenImageEncoder::kLastSentEntry;
                result.message = doesNotFitMessage(last + 1, result.excess);
                return result;
            }
        } else {
            encoder_.encodePacked(picture.width(), picture.height());
            if (!preview.isNull()) result.warning = packedCutMessage(picture.width(), picture.height());
        }
        result.stream = encoder_.sentImage();
    }
    result.elementWords = recomputeElementWords(model);
    result.stream.append(result.elementWords);
    return result;
}

} // namespace z5
