#include "ui/PortStatusText.h"
#include "link/Link.h"
#include "link/SerialDevices.h"

namespace z5 {

QString portStatusText(const Link &link) {
    const int com = link.settings.portNumber;
    QString port = describePort(com, link.serialDevices);
    if (port.isEmpty()) port = QStringLiteral("COM%1").arg(com);
    return QStringLiteral("%1    Z5 №%2").arg(port).arg(link.settings.station);
}

} // namespace z5
