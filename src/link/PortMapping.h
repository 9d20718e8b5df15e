#pragma once
#include <QString>

namespace z5 {

// Which device each COM number stands for. The environment variable Z5_COM<n>
// wins (a start script or a test fixes the device), then the device the user
// chose in the port dialog (kept in the user's settings), then the default:
// /dev/ttyS<n-1> (on Windows COMn itself).
class PortMapping {
public:
    enum class Source { Environment, Settings, Default };
    struct Entry {
        QString device;
        Source source = Source::Default;
    };

    // The rule itself, on given values; an empty value means none.
    static Entry choose(int comPort, const QString &fromEnvironment, const QString &fromSettings);
    // The entry for COM1..COM16 as things stand; an empty device outside that range.
    static Entry resolve(int comPort);

    // The device the user chose for a COM number, or empty.
    static QString remembered(int comPort);
    // Keeps the choice (an empty device forgets it). False when there are no settings to keep it in.
    static bool remember(int comPort, const QString &device);
    // The environment variable that overrides a COM number, and its value.
    static QString environmentName(int comPort) { return QStringLiteral("Z5_COM%1").arg(comPort); }
    static QString fromEnvironment(int comPort);

    static QString defaultDevice(int comPort);
    // "environment", "settings", "default": how `z5ctl ports` says where a device comes from.
    static QString sourceName(Source source);
};

} // namespace z5
