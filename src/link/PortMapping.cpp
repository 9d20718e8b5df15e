#include "link/PortMapping.h"
#include "link/PortSettings.h"
#include "model/UserSettings.h"

namespace z5 {
namespace {

QString settingsKey(int comPort) { return QStringLiteral("ports/COM%1").arg(comPort); }
bool validPort(int n) { return n >= PortSettings::kFirstPort && n <= PortSettings::kLastPort; }

} // namespace

PortMapping::Entry PortMapping::choose(int comPort, const QString &environment, const QString &settings) {
    if (!validPort(comPort)) return {};
    if (!environment.isEmpty()) return {environment, Source::Environment};
    if (!settings.isEmpty()) return {settings, Source::Settings};
    return {defaultDevice(comPort), Source::Default};
}

PortMapping::Entry PortMapping::resolve(int comPort) {
    if (!validPort(comPort)) return {};
    return choose(comPort, fromEnvironment(comPort), remembered(comPort));
}

QString PortMapping::fromEnvironment(int comPort) {
    if (!validPort(comPort)) return QString();
    return QString::fromLocal8Bit(qgetenv(environmentName(comPort).toLatin1().constData()));
}

QString PortMapping::remembered(int comPort) {
    if (!validPort(comPort)) return QString();
    const auto settings = userSettings();
    return settings ? settings->value(settingsKey(comPort)).toString() : QString();
}

bool PortMapping::remember(int comPort, const QString &device) {
    const auto settings = userSettings();
    if (!settings || !validPort(comPort)) return false;
    if (device.isEmpty())
        settings->remove(settingsKey(comPort));
    else
        settings->setValue(settingsKey(comPort), device);
    return true;
}

QString PortMapping::defaultDevice(int comPort) {
    if (!validPort(comPort)) return QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(comPort);
#else
    return QStringLiteral("/dev/ttyS%1").arg(comPort - 1);
#endif
}

QString PortMapping::sourceName(Source source) {
    switch (source) {
    case Source::Environment: return QStringLiteral("environment");
    case Source::Settings: return QStringLiteral("settings");
    case Source::Default: break;
    }
    return QStringLiteral("default");
}

} // namespace z5
