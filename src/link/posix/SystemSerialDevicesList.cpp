#include "link/SerialDevices.h"
#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace z5 {

std::vector<SerialDeviceInfo> SystemSerialDevices::systemDevices() const {
    // Stable names are links to the devices: index them by what they point at.
    QDir byId(byIdFolder);
    QList<QPair<QString, QString>> links;
    for (const QFileInfo &link : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        links.append({link.canonicalFilePath(), link.absoluteFilePath()});

    std::vector<SerialDeviceInfo> devices;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts()) {
        SerialDeviceInfo d;
        d.device = port.systemLocation();
        d.description = port.description();
        d.manufacturer = port.manufacturer();
        d.serialNumber = port.serialNumber();
        const QString real = QFileInfo(d.device).canonicalFilePath();
        for (const auto &link : links)
            if (!real.isEmpty() && link.first == real) d.stableName = link.second;
        devices.push_back(d);
    }
    return devices;
}

} // namespace z5
