#include "link/PortIdentity.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace z5 {

PortIdentity identifyPort(const QString &device) {
    // A relative name (a link in the current folder) resolves from where the program runs.
    const QString resolved = QFileInfo(device).canonicalFilePath();
    if (resolved.isEmpty()) {
        QString key = device;
        return {device, key.replace(QLatin1Char('/'), QLatin1Char('_'))};
    }
    struct stat info {};
    if (::stat(QFile::encodeName(resolved).constData(), &info) == 0 && S_ISCHR(info.st_mode))
        return {resolved, QStringLiteral("char-%1-%2").arg(major(info.st_rdev)).arg(minor(info.st_rdev))};
    QString key = resolved;
    return {resolved, key.replace(QLatin1Char('/'), QLatin1Char('_'))};
}

bool adapterPresent(const QString &device) {
    const QString resolved = QFileInfo(device).canonicalFilePath();
    struct stat info {};
    return !resolved.isEmpty() && ::stat(QFile::encodeName(resolved).constData(), &info) == 0 &&
           S_ISCHR(info.st_mode);
}

QStringList portLockFolders() {
    return {QStringLiteral("/run/lock"), QStringLiteral("/var/lock"), QDir::tempPath()};
}

} // namespace z5
