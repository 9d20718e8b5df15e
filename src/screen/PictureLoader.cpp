#include "screen/PictureLoader.h"
#include <QImageReader>

namespace z5 {
namespace {

bool saneSize(const QSize &size) {
    return size.isValid() && !size.isEmpty() && size.width() <= PictureLoader::kMaxSide &&
           size.height() <= PictureLoader::kMaxSide &&
           qint64(size.width()) * size.height() <= PictureLoader::kMaxPixels;
}

PictureLoader::Result read(QImageReader &reader) {
    PictureLoader::Result result;
    const QByteArray format = reader.format().toLower();
    const bool known = format == "bmp" || format == "png" || format == "jpeg" || format == "jpg" || format == "gif";
    // The header's size decides before decoding; every reader here can tell it.
    if (known && saneSize(reader.size())) {
        QImage image;
        if (reader.read(&image) && saneSize(image.size())) result.image = image;
    }
    if (result.image.isNull()) result.message = PictureLoader::wrongTypeMessage();
    return result;
}

} // namespace

QString PictureLoader::wrongTypeMessage() { return QStringLiteral("Не правильный тип файла"); }

PictureLoader::Result PictureLoader::load(const QString &path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return read(reader);
}

PictureLoader::Result PictureLoader::load(QIODevice *device) {
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    return read(reader);
}

} // namespace z5
