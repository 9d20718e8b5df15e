#include "model/AtomicFileSave.h"
#include <QSaveFile>
#include <algorithm>

namespace z5 {

bool AtomicFileSave::save(const QString &path, const QByteArray &bytes, QString *error) {
    auto fail = [error](const QString &why) {
        if (error) *error = why;
        return false;
    };
    if (path.isEmpty()) return fail(QStringLiteral("empty file name"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fail(file.errorString());
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 chunk = std::min(left, kChunkBytes);
        const qint64 written = file.write(data, chunk);
        if (written != chunk) {
            const QString why = file.errorString();
            file.cancelWriting();
            return fail(QStringLiteral("short write (%1 of %2 bytes): %3").arg(written).arg(chunk).arg(why));
        }
        data += chunk;
        left -= chunk;
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}

} // namespace z5
