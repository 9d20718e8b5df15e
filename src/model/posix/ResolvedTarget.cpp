#include "model/AtomicFileSave.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace z5 {
namespace {

constexpr int kMaxLinkHops = 40;

QByteArray nameOf(const QString &path) { return QFile::encodeName(path); }

} // namespace

QString AtomicFileSave::resolvedTarget(const QString &path) {
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(nameOf(current).constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        QByteArray target(qMax<qint64>(st.st_size, 256) + 1, '\0');
        const ssize_t n = ::readlink(nameOf(current).constData(), target.data(), size_t(target.size()));
        if (n <= 0 || n >= target.size()) return current;
        target.truncate(int(n));
        const QString next = QFile::decodeName(target);
        current = QDir::cleanPath(QDir::isAbsolutePath(next) ? next : QFileInfo(current).absoluteDir().filePath(next));
    }
    return current;
}

} // namespace z5
