#include "link/ComPortCatalog.h"
#include <QRegularExpression>
#include <algorithm>
#include <climits>

namespace z5 {
namespace {

// COM ports by their numbers, other names after them.
int order(const QString &device) {
    const QString name = ComPortCatalog::comName(device);
    return name.isEmpty() ? INT_MAX : name.mid(3).toInt();
}

} // namespace

QString ComPortCatalog::comName(const QString &name) {
    static const QRegularExpression com(QStringLiteral("^(?:\\\\\\\\\\.\\\\)?COM(\\d+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(name.trimmed());
    if (!m.hasMatch() || m.captured(1).toInt() <= 0) return QString();
    return QStringLiteral("COM") + QString::number(m.captured(1).toInt());
}

QString ComPortCatalog::portInFriendlyName(const QString &friendlyName) {
    static const QRegularExpression tail(QStringLiteral("\\((COM\\d+)\\)\\s*$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = tail.match(friendlyName);
    return m.hasMatch() ? comName(m.captured(1)) : QString();
}

QString ComPortCatalog::describedAs(const QString &friendlyName) {
    static const QRegularExpression tail(QStringLiteral("\\s*\\(COM\\d+\\)\\s*$"), QRegularExpression::CaseInsensitiveOption);
    QString text = friendlyName;
    text.remove(tail);
    return text.trimmed();
}

QString ComPortCatalog::serialNumberOf(const QString &instanceId) {
    const QStringList parts = instanceId.split(QLatin1Char('\\'));
    if (parts.size() < 3) return QString();
    const QString bus = parts.at(0).toUpper();
    if (bus == QLatin1String("USB")) {
        const QString last = parts.at(2);
        return last.contains(QLatin1Char('&')) ? QString() : last;
    }
    if (bus == QLatin1String("FTDIBUS")) {
        // "VID_0403+PID_6001+A12BC3DEA": the serial number and the channel letter.
        const QStringList ids = parts.at(1).split(QLatin1Char('+'));
        if (ids.size() < 3 || ids.at(2).size() < 2) return QString();
        return ids.at(2).left(ids.at(2).size() - 1);
    }
    return QString();
}

std::vector<SerialDeviceInfo> ComPortCatalog::merge(const std::vector<Adapter> &adapters,
                                                    const std::vector<QString> &registryPorts) {
    std::vector<SerialDeviceInfo> ports;
    const auto known = [&ports](const QString &name) {
        return std::any_of(ports.begin(), ports.end(), [&name](const SerialDeviceInfo &d) { return d.device == name; });
    };
    for (const Adapter &a : adapters) {
        QString name = comName(a.portName);
        if (name.isEmpty()) name = portInFriendlyName(a.friendlyName);
        if (name.isEmpty() || known(name)) continue;
        SerialDeviceInfo d;
        d.device = name;
        d.description = describedAs(a.friendlyName);
        d.manufacturer = a.manufacturer.trimmed();
        d.serialNumber = serialNumberOf(a.instanceId);
        ports.push_back(d);
    }
    for (const QString &port : registryPorts) {
        // A port of another name (a virtual port's driver may choose one) is kept as it is.
        const QString name = comName(port).isEmpty() ? port.trimmed() : comName(port);
        if (name.isEmpty() || known(name)) continue;
        SerialDeviceInfo d;
        d.device = name;
        ports.push_back(d);
    }
    std::stable_sort(ports.begin(), ports.end(), [](const SerialDeviceInfo &a, const SerialDeviceInfo &b) {
        return order(a.device) < order(b.device);
    });
    return ports;
}

} // namespace z5
