#include "model/AtomicFileSave.h"
#include <QFile>
#include <sys/stat.h>

namespace z5 {

QString AtomicFileSave::otherKind(const QString &path) {
    // stat follows a symbolic link: what matters is what would be replaced.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode)) return QString();
    if (S_ISDIR(st.st_mode)) return QStringLiteral("папка");
    if (S_ISCHR(st.st_mode)) return QStringLiteral("символьное устройство");
    if (S_ISBLK(st.st_mode)) return QStringLiteral("блочное устройство");
    if (S_ISFIFO(st.st_mode)) return QStringLiteral("канал (fifo)");
    if (S_ISSOCK(st.st_mode)) return QStringLiteral("сокет");
    return QStringLiteral("не обычный файл");
}

} // namespace z5
