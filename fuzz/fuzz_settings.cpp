// The user's settings file as found on disk: any bytes. Reading the port choices
// from it never fails, a remembered device is what the COM number then resolves
// to, and a device kept into such a file reads back as kept.
#include "link/PortMapping.h"
#include "model/UserSettings.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static QTemporaryDir home;
    static int run = 0;
    QCoreApplication::setOrganizationName(z5::settingsOrganisation());
    for (int n = 1; n <= 16; ++n) qunsetenv(z5::PortMapping::environmentName(n).toLatin1().constData());
    // A folder of its own for every input: the settings of an earlier one are cached by name.
    const QString dir = home.filePath(QString::number(run++));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
    const auto probe = z5::userSettings();
    if (!probe) std::abort();
    const QString file = probe->fileName();
    QDir().mkpath(QFileInfo(file).absolutePath());
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly)) std::abort();
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    for (int n = 0; n <= 17; ++n) {
        const QString remembered = z5::PortMapping::remembered(n);
        const z5::PortMapping::Entry entry = z5::PortMapping::resolve(n);
        if (n < 1 || n > 16) {
            if (!remembered.isEmpty() || !entry.device.isEmpty()) std::abort();
            continue;
        }
        if (remembered.isEmpty() ? entry.device != z5::PortMapping::defaultDevice(n) : entry.device != remembered)
            std::abort();
    }
    const QString device = QStringLiteral("/dev/ttyUSB%1").arg(size % 7);
    if (!z5::PortMapping::remember(1 + int(size % 16), device)) std::abort();
    if (z5::PortMapping::remembered(1 + int(size % 16)) != device) std::abort();
    return 0;
}
