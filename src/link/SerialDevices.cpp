#include "link/SerialDevices.h"
#include "link/PortSettings.h"
#include "link/SimulatedControllerPort.h"
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace z5 {

QString SerialDeviceInfo::summary() const {
    QStringList about;
    for (const QString &part : {description, manufacturer, serialNumber})
        if (!part.trimmed().isEmpty() && !about.contains(part.trimmed())) about << part.trimmed();
    return about.isEmpty() ? device : device + QStringLiteral(" — ") + about.join(QStringLiteral(", "));
}

const SerialDeviceInfo *SerialDevices::find(const std::vector<SerialDeviceInfo> &devices, const QString &name) {
    if (name.isEmpty()) return nullptr;
    const QString target = QFileInfo(name).canonicalFilePath();
    for (const SerialDeviceInfo &d : devices) {
        if (d.device == name || (!d.stableName.isEmpty() && d.stableName == name)) return &d;
        if (!target.isEmpty() && QFileInfo(d.device).canonicalFilePath() == target) return &d;
    }
    return nullptr;
}

std::vector<SerialDeviceInfo> SystemSerialDevices::list() const {
    std::vector<SerialDeviceInfo> devices = systemDevices();
    SerialDeviceInfo simulated;
    simulated.device = SimulatedControllerPort::deviceName();
    devices.push_back(simulated);
    return devices;
}

QString describePort(int comPort, const SerialDevices *devices, bool onlyKnown) {
    const QString device = PortSettings::deviceName(comPort);
    if (device.isEmpty()) return QString();
    const std::vector<SerialDeviceInfo> present = devices ? devices->list() : std::vector<SerialDeviceInfo>();
    const SerialDeviceInfo *found = SerialDevices::find(present, device);
    if (!found && onlyKnown) return QString();
    QString text = QStringLiteral("COM%1: %2").arg(comPort).arg(device);
    if (found && found->summary() != found->device)
        text += found->summary().mid(found->device.size());
    return text;
}

} // namespace z5
