#include "link/PortIdentity.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace z5 {
namespace {

// The device number of the character device a resolved path names, if it names one.
std::optional<dev_t> characterDevice(const QString &resolved) {
    struct stat info {};
    if (resolved.isEmpty() || ::stat(QFile::encodeName(resolved).constData(), &info) != 0 || !S_ISCHR(info.st_mode))
        return std::nullopt;
    return info.st_rdev;
}

QString asFileName(QString path) { return path.replace(QLatin1Char('/'), QLatin1Char('_')); }

} // namespace

PortIdentity identifyPort(const QString &device) {
    // A relative name (a link in the current folder) resolves from where the program runs.
    const QString resolved = QFileInfo(device).canonicalFilePath();
    if (resolved.isEmpty()) return {device, asFileName(device)};
    if (const std::optional<dev_t> number = characterDevice(resolved))
        return {resolved, QStringLiteral("char-%1-%2").arg(major(*number)).arg(minor(*number))};
    return {resolved, asFileName(resolved)};
}

bool adapterPresent(const QString &device) {
    return characterDevice(QFileInfo(device).canonicalFilePath()).has_value();
}

QStringList portLockFolders() {
    return {QStringLiteral("/run/lock"), QStringLiteral("/var/lock"), QDir::tempPath()};
}

} // namespace z5
