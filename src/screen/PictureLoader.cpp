#include "screen/PictureLoader.h"
#include "screen/LibraryOutputCatcher.h"
#include <QImageReader>

namespace z5 {
namespace {

bool saneSize(const QSize &size) {
    return size.isValid() && !size.isEmpty() && size.width() <= PictureLoader::kMaxSide &&
           size.height() <= PictureLoader::kMaxSide &&
           qint64(size.width()) * size.height() <= PictureLoader::kMaxPixels;
}

QString why(QImageReader &reader, const QByteArray &format, bool known, const QSize &size) {
    if (reader.error() == QImageReader::FileNotFoundError || (!reader.device() || !reader.device()->isReadable()))
        return QStringLiteral("файл не найден или не читается");
    if (!known)
        return format.isEmpty() ? QStringLiteral("это не картинка BMP, PNG, JPEG или GIF")
                                : QStringLiteral("формат %1 не BMP, PNG, JPEG или GIF").arg(QString::fromLatin1(format));
    if (!size.isValid() || size.isEmpty()) return QStringLiteral("размер картинки не читается");
    if (!saneSize(size))
        return QStringLiteral("картинка %1×%2 точек больше допустимой (%3 точек по стороне, %4 всего)")
            .arg(size.width())
            .arg(size.height())
            .arg(PictureLoader::kMaxSide)
            .arg(PictureLoader::kMaxPixels);
    return QStringLiteral("данные картинки повреждены");
}

// The catcher outlives the reader: its plugin may still speak while it is torn down.
PictureLoader::Result read(QImageReader &reader, LibraryOutputCatcher &catcher) {
    PictureLoader::Result result;
    const QByteArray format = reader.format().toLower();
    const bool known = format == "bmp" || format == "png" || format == "jpeg" || format == "jpg" || format == "gif";
    // The header's size decides before decoding; every reader here can tell it.
    const QSize size = known ? reader.size() : QSize();
    if (known && saneSize(size)) {
        QImage image;
        if (reader.read(&image) && saneSize(image.size())) result.image = image;
    }
    if (result.image.isNull()) {
        result.message = PictureLoader::wrongTypeMessage();
        result.reason = why(reader, format, known, size);
        const QStringList words = catcher.words();
        if (!words.isEmpty()) result.reason += QStringLiteral(" (%1)").arg(words.join(QStringLiteral("; ")));
    }
    return result;
}

} // namespace

QString PictureLoader::wrongTypeMessage() { return QStringLiteral("Не правильный тип файла"); }

PictureLoader::Result PictureLoader::load(const QString &path) {
    LibraryOutputCatcher catcher;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return read(reader, catcher);
}

PictureLoader::Result PictureLoader::load(QIODevice *device) {
    LibraryOutputCatcher catcher;
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    return read(reader, catcher);
}

} // namespace z5
