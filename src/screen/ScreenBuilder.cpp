#include "screen/ScreenBuilder.h"
#include "screen/ScreenElementWords.h"
#include "screen/ScreenModel.h"

namespace z5 {

QString ScreenBuilder::tooWideMessage() { return QStringLiteral("Координата Х должна быть меньше 320"); }

QString ScreenBuilder::tooHighMessage() { return QStringLiteral("Координата Y должна быть меньше 240"); }

QString ScreenBuilder::doesNotFitMessage(int needed, int excess) {
    return QStringLiteral("Картинка не помещается в Z5: нужно %1 байт, помещается %2 (лишних %3)")
        .arg(needed)
        .arg(ScreenImageEncoder::kSentEntries)
        .arg(excess);
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
        }
        result.stream = encoder_.sentImage();
    }
    result.elementWords = recomputeElementWords(model);
    result.stream.append(result.elementWords);
    return result;
}

} // namespace z5
