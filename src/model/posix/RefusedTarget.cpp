#include "model/AtomicFileSave.h"
#include <QFile>
#include <sys/stat.h>

namespace z5 {

QString AtomicFileSave::refusedTarget(const QString &path) {
    // stat follows a symbolic link: what matters is what would be replaced.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode)) return QString();
    QString kind = QStringLiteral("не обычный файл");
    if (S_ISDIR(st.st_mode)) kind = QStringLiteral("папка");
    else if (S_ISCHR(st.st_mode)) kind = QStringLiteral("символьное устройство");
    else if (S_ISBLK(st.st_mode)) kind = QStringLiteral("блочное устройство");
    else if (S_ISFIFO(st.st_mode)) kind = QStringLiteral("канал (fifo)");
    else if (S_ISSOCK(st.st_mode)) kind = QStringLiteral("сокет");
    return QStringLiteral("%1 — %2, а не обычный файл; записывать в него нельзя.").arg(path, kind);
}

} // namespace z5
