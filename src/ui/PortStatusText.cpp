#include "ui/PortStatusText.h"
#include "link/LineSession.h"
#include "link/SerialDevices.h"

namespace z5 {

QString portStatusText(const LineSession &line) {
    const int com = line.settings().portNumber;
    QString port = describePort(com, line.serialDevices());
    if (port.isEmpty()) port = QStringLiteral("COM%1").arg(com);
    QString text = QStringLiteral("%1    Z5 №%2").arg(port).arg(line.settings().station);
    if (line.awaitsAdapter()) text += QStringLiteral("    адаптер отключён, ожидание…");
    return text;
}

} // namespace z5
