#include "screen/SafeFileWriter.h"
#include <QSaveFile>

namespace z5 {

bool SafeFileWriter::write(const QString &path, const QByteArray &bytes, QString *error) {
    auto fail = [&](const QString &why) {
        if (error) *error = why;
        return false;
    };
    QSaveFile file(path);
    // Unbuffered, so each write reports what really reached the file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fail(file.errorString());
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            const QString why = file.errorString();
            file.cancelWriting();
            return fail(why.isEmpty() ? QStringLiteral("short write") : why);
        }
        done += n;
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}

} // namespace z5
