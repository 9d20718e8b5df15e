#include "link/PortIdentity.h"
#include "link/SerialDevices.h"
#include <QDir>
#include <QRegularExpression>

namespace z5 {

PortIdentity identifyPort(const QString &device) {
    // "COM5", "com5" and "\\.\COM5" are one port.
    static const QRegularExpression comName(QStringLiteral("^(?:\\\\\\\\\\.\\\\)?COM(\\d+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = comName.match(device.trimmed());
    if (m.hasMatch()) {
        const QString name = QStringLiteral("COM") + m.captured(1);
        return {name, name};
    }
    QString key = device.trimmed().toUpper();
    key.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    return {device, key};
}

bool adapterPresent(const QString &device) {
    const QString name = identifyPort(device).openName;
    for (const SerialDeviceInfo &d : SystemSerialDevices().list())
        if (identifyPort(d.device).openName == name) return true;
    return false;
}

QStringList portLockFolders() { return {QDir::tempPath()}; }

} // namespace z5
