#pragma once
#include <QImage>
#include <QString>

class QIODevice;

namespace z5 {

// Loads a background picture (BMP, PNG, JPEG or GIF). The size is read from the
// file's header before any pixel memory is taken, and pictures beyond a sane size
// are refused, so a hostile or broken file cannot exhaust memory.
class PictureLoader {
public:
    static constexpr int kMaxSide = 8192;
    static constexpr qint64 kMaxPixels = 16LL * 1024 * 1024;

    struct Result {
        QImage image;
        QString message;  // "Не правильный тип файла" on any failure
        QString reason;   // why, in words; the image library's own text at its end
        bool ok() const { return !image.isNull(); }
        // The message and, on a line of its own, the reason: what the user is shown.
        QString text() const { return reason.isEmpty() ? message : message + QLatin1Char('\n') + reason; }
    };

    static Result load(const QString &path);
    static Result load(QIODevice *device);

    static QString wrongTypeMessage();
};

} // namespace z5
