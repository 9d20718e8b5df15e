#include "model/AtomicFileSave.h"
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>

namespace z5 {

QString AtomicFileSave::reasonFor(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("Диск заполнен.");
    case EROFS: return QStringLiteral("Диск только для чтения.");
    case EACCES:
    case EPERM: return QStringLiteral("Нет прав на запись.");
    case EFBIG: return QStringLiteral("Файл слишком велик.");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("Папка не существует.");
    case EISDIR: return QStringLiteral("Это папка, а не файл.");
    case ENAMETOOLONG: return QStringLiteral("Слишком длинное имя файла.");
    case EIO: return QStringLiteral("Ошибка ввода-вывода на диске.");
    default: return QString();
    }
}

bool AtomicFileSave::save(const QString &path, const QByteArray &bytes, QString *error) {
    auto fail = [error](const QString &why) {
        if (error) *error = why;
        return false;
    };
    // The error number is read right after the failing call, before anything else can
    // change it; Qt's own text is kept only when the number says nothing.
    auto failWith = [&fail](int errorNumber, const QString &qtText) {
        const QString words = reasonFor(errorNumber);
        return fail(words.isEmpty() ? QStringLiteral("Ошибка записи: %1").arg(qtText) : words);
    };
    if (path.isEmpty()) return fail(QStringLiteral("Имя файла не задано."));
    const QString refused = refusedTarget(path);
    if (!refused.isEmpty()) return fail(refused);

    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failWith(errno, file.errorString());
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 chunk = std::min(left, kChunkBytes);
        errno = 0;
        const qint64 written = file.write(data, chunk);
        // A part taken is no failure yet; the write of the rest tells why it stops.
        if (written <= 0) {
            const int why = errno;
            const QString qtText = file.errorString();
            file.cancelWriting();
            return failWith(why, qtText);
        }
        data += written;
        left -= written;
    }
    errno = 0;
    if (!file.commit()) return failWith(errno, file.errorString());
    return true;
}

} // namespace z5
